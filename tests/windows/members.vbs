' Drives every member of the registered Jotwell.JotBook late bound, as a
' script does, and prints "members: ok" when every answer, every variable
' passed by reference and every file written is the one expected; each
' mismatch is printed. The missing files' boxes go to standard error: the
' process has no display.
'
'   cscript //nologo members.vbs SCRATCH_FOLDER
'
' Wine's VBScript lacks ChrW, Join, GetRef, Execute and Eval: hence the
' plain statements.
Option Explicit

Dim failures, fso, shell, book, folder
failures = 0
Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")
folder = WScript.Arguments(0)

Sub Fail(what)
  WScript.Echo "members: " & what
  failures = failures + 1
End Sub

' The type matters as much as the value: a Boolean is not an Integer here.
Sub Expect(what, actual, expected)
  If TypeName(actual) <> TypeName(expected) Then
    Fail what & ": " & TypeName(actual) & " [" & actual & "], expected " & TypeName(expected) & _
         " [" & expected & "]"
  ElseIf actual <> expected Then
    Fail what & ": [" & actual & "], expected [" & expected & "]"
  End If
End Sub

Sub ExpectTrue(what, condition)
  If Not condition Then Fail what
End Sub

' The error the statement before raised, cleared for the next one.
Sub ExpectError(what, number)
  If Err.Number <> number Then Fail what & ": error " & Err.Number & " " & Err.Description & _
                                    ", expected " & number
  Err.Clear
End Sub

Sub WriteFile(path, text)
  Dim stream
  Set stream = fso.CreateTextFile(path, True)
  stream.Write text
  stream.Close
End Sub

Function ReadFile(path)
  Dim stream
  Set stream = fso.OpenTextFile(path, 1)
  ReadFile = ""
  If Not stream.AtEndOfStream Then ReadFile = stream.ReadAll
  stream.Close
End Function

Function Padded(number)
  Padded = Right("0" & number, 2)
End Function

' Now as the log stamps it: month, day and year with the user's date
' separator (taken from the short date), then the long time.
Function Moment()
  Dim now_, shortDate, i, separator
  now_ = Now
  shortDate = FormatDateTime(now_, 2)
  For i = 1 To Len(shortDate)
    If Not IsNumeric(Mid(shortDate, i, 1)) Then separator = Mid(shortDate, i, 1) : Exit For
  Next
  Moment = Array(Padded(Month(now_)) & separator & Padded(Day(now_)) & separator & Year(now_), _
                 FormatDateTime(now_, 3))
End Function

' The log line of `kind` ("start", "end", an event's text, or "" for an
' empty line) at moment `m`.
Function LogLine(kind, m)
  If kind = "" Then
    LogLine = ""
  ElseIf kind = "start" Then
    LogLine = "Jotwell Logfile started " & m(1) & " " & m(0)
  ElseIf kind = "end" Then
    LogLine = "Jotwell Logfile ended " & m(1) & " " & m(0)
  Else
    LogLine = m(0) & " " & m(1) & " - " & kind
  End If
End Function

' Line `i` is `kind`, stamped at a moment between `before` and `after` (a
' call takes well under a second, so one of the two).
Sub ExpectLine(what, lines, i, kind, before, after)
  If i > UBound(lines) Then
    Fail what & ": the log has no line " & i
  ElseIf lines(i) <> LogLine(kind, before) And lines(i) <> LogLine(kind, after) Then
    Fail what & ": line " & i & " is [" & lines(i) & "], expected [" & LogLine(kind, after) & "]"
  End If
End Sub

Sub ExpectLineCount(what, lines, count)
  If UBound(lines) + 1 <> count Then
    Fail what & ": " & (UBound(lines) + 1) & " lines, expected " & count
  End If
End Sub

Set book = CreateObject("Jotwell.JotBook")

' A new object's properties.
Expect "LogFileName, new", book.LogFileName, ""
Expect "MaximumLogFileSize, new", book.MaximumLogFileSize, CLng(0)
Expect "OverwriteLogFile, new", book.OverwriteLogFile, False
Expect "DoesLogFileExist, new", book.DoesLogFileExist, False
Expect "SizeOfCurrentLogFile, new", book.SizeOfCurrentLogFile, CLng(0)
Expect "INI_PathToINI, new", book.INI_PathToINI, ""

' Late binding's refusals, each leaving the object as it was.
book.MaximumLogFileSize = 5000
On Error Resume Next
book.MaximumLogFileSize = "many"
ExpectError "MaximumLogFileSize = ""many""", 13
book.MaximumLogFileSize = 3000000000
ExpectError "MaximumLogFileSize = 3000000000", 6
book.LogFileName = Null
ExpectError "LogFileName = Null", 13
book.DiskFreeSpace = 1
ExpectError "DiskFreeSpace = 1", 438
book.NoSuchMember
ExpectError "NoSuchMember", 438
book.StripPath
ExpectError "StripPath without its argument", 450
book.CopyFiles "a", "b", "c", "d"
ExpectError "CopyFiles with four arguments", 450
On Error GoTo 0
Expect "MaximumLogFileSize after the refusals", book.MaximumLogFileSize, CLng(5000)
Expect "LogFileName after the refusals", book.LogFileName, ""

' Properties take what converts to their type.
book.MaximumLogFileSize = "100000"
Expect "MaximumLogFileSize = ""100000""", book.MaximumLogFileSize, CLng(100000)
book.MaximumLogFileSize = 2.5
Expect "MaximumLogFileSize = 2.5 (halves to even)", book.MaximumLogFileSize, CLng(2)
book.MaximumLogFileSize = 100000
book.OverwriteLogFile = "True"
Expect "OverwriteLogFile = ""True""", book.OverwriteLogFile, True
book.OverwriteLogFile = 0
Expect "OverwriteLogFile = 0", book.OverwriteLogFile, False

' The log: a start line and the events, text and numbers as text, then the
' end line; an overwrite starts it afresh.
Dim logPath, data, lines, m1, m2, m3, m4, m5, m6
logPath = folder & "\events.log"
book.LogFileName = "  " & logPath & "  "
Expect "LogFileName, blanks trimmed", book.LogFileName, logPath
book.OverwriteLogFile = True
data = "caf" & Chr(233) & " - saved"
m1 = Moment() : book.WriteEventToLogFile data : m2 = Moment()
Expect "WriteEventToLogFile's variable", data, "caf" & Chr(233) & " - saved"
m3 = Moment()
Call book.WriteEventToLogFile(42)
book.WriteEventToLogFile CSng(0.1)
m4 = Moment()
Expect "OverwriteLogFile after a write", book.OverwriteLogFile, False
Expect "DoesLogFileExist", book.DoesLogFileExist, True
Expect "SizeOfCurrentLogFile", book.SizeOfCurrentLogFile, CLng(fso.GetFile(logPath).Size)
m5 = Moment() : book.EndLogFileEvents : m6 = Moment()
lines = Split(ReadFile(logPath), vbCrLf)
ExpectLine "log", lines, 0, "start", m1, m2
ExpectLine "log", lines, 1, "", m1, m2
ExpectLine "log", lines, 2, data, m1, m2
ExpectLine "log", lines, 3, "42", m3, m4
ExpectLine "log", lines, 4, "0.1", m3, m4
ExpectLine "log", lines, 5, "", m1, m2
ExpectLine "log", lines, 6, "end", m5, m6
ExpectLineCount "log", lines, 9

book.OverwriteLogFile = True
m1 = Moment() : book.WriteEventToLogFile "afresh" : m2 = Moment()
lines = Split(ReadFile(logPath), vbCrLf)
ExpectLine "overwritten log", lines, 0, "start", m1, m2
ExpectLine "overwritten log", lines, 2, "afresh", m1, m2
ExpectLineCount "overwritten log", lines, 4

Dim free
free = book.DiskFreeSpace
Expect "DiskFreeSpace's type", TypeName(free), "Currency"
ExpectTrue "DiskFreeSpace [" & free & "] is a positive whole number", free > 0 And free = Int(free)

book.DeleteLogFile
ExpectTrue "DeleteLogFile left the file", Not fso.FileExists(logPath)
Expect "DoesLogFileExist after DeleteLogFile", book.DoesLogFileExist, False
Expect "SizeOfCurrentLogFile after DeleteLogFile", book.SizeOfCurrentLogFile, CLng(0)

' INI settings, through variables passed by reference and through literals.
Dim iniPath, section, key, value
iniPath = folder & "\settings.ini"
book.INI_PathToINI = iniPath
Expect "INI_PathToINI", book.INI_PathToINI, iniPath
Expect "INI_PathToINI, shared by the thread's objects", _
       CreateObject("Jotwell.JotBook").INI_PathToINI, iniPath
section = "Main" : key = "Count" : value = "42"
Dim written
written = book.INI_WriteString(section, key, value)
Expect "INI_WriteString's type", TypeName(written), "Long"
ExpectTrue "INI_WriteString [" & written & "] is non-zero", written <> 0
Expect "INI_WriteString's variables", section & "|" & key & "|" & value, "Main|Count|42"
ExpectTrue "INI_WriteString of text", _
           book.INI_WriteString("Main", "Greeting", "caf" & Chr(233)) <> 0
Expect "INI_ReadINT", book.INI_ReadINT(section, key), CInt(42)
Expect "INI_ReadString", book.INI_ReadString("Main", "Greeting"), "caf" & Chr(233)
Expect "INI_ReadString, missing key", book.INI_ReadString("Main", "Absent"), ""
Expect "INI_ReadINT, missing section", book.INI_ReadINT("Absent", "Count"), CInt(0)
Expect "the INI file", ReadFile(iniPath), _
       "[Main]" & vbCrLf & "Count=42" & vbCrLf & "Greeting=caf" & Chr(233) & vbCrLf

' File utilities.
Dim path
path = iniPath
Expect "StripPath", book.StripPath(path), "settings.ini"
Expect "StripPath's variable", path, iniPath
Expect "StripPath, missing file", book.StripPath(folder & "\absent.txt"), ""

Dim source, destination, pattern
fso.CreateFolder folder & "\from"
WriteFile folder & "\from\a.txt", "a"
WriteFile folder & "\from\B.TXT", "b"
WriteFile folder & "\from\c.dat", "c"
source = folder & "\from\" : destination = folder & "\to\" : pattern = "*.txt"
Expect "CopyFiles", book.CopyFiles(source, destination, pattern), CLng(2)
Expect "CopyFiles' variables", source & "|" & destination & "|" & pattern, _
       folder & "\from\|" & folder & "\to\|*.txt"
Expect "CopyFiles' copy", ReadFile(folder & "\to\B.TXT"), "b"
ExpectTrue "CopyFiles copied what the pattern leaves", Not fso.FileExists(folder & "\to\c.dat")
WriteFile folder & "\from\a.txt", "newer"
Expect "CopyFiles again", book.CopyFiles(source, destination, "?.TXT"), CLng(2)
Expect "CopyFiles' replaced copy", ReadFile(folder & "\to\a.txt"), "newer"
Expect "CopyFiles, nothing matching", book.CopyFiles(source, destination, "*.none"), CLng(0)

' The trash is the desktop's, under XDG_DATA_HOME.
Dim victim, trashed
victim = "jotwell-members-" & fso.GetTempName
trashed = "Z:" & Replace(shell.Environment("PROCESS")("XDG_DATA_HOME"), "/", "\") & _
          "\Trash\files\" & victim
WriteFile folder & "\" & victim, "trash"
Expect "DeleteToRecycleBin", book.DeleteToRecycleBin(folder & "\" & victim), True
ExpectTrue "DeleteToRecycleBin left the file", Not fso.FileExists(folder & "\" & victim)
ExpectTrue "DeleteToRecycleBin: " & trashed & " is missing", fso.FileExists(trashed)
Expect "DeleteToRecycleBin, missing file", book.DeleteToRecycleBin(folder & "\" & victim), False

' The recent documents: the variable receives the trimmed path.
Dim recent, link, copy
recent = folder & "\recent.txt"
WriteFile recent, "recent"
link = shell.Environment("PROCESS")("APPDATA") & "\Microsoft\Windows\Recent\recent.txt.lnk"
If fso.FileExists(link) Then fso.DeleteFile link
path = "   " & recent & "  "
book.AddToRecentDocuments path
Expect "AddToRecentDocuments' variable", path, recent
ExpectTrue "AddToRecentDocuments: " & link & " is missing", fso.FileExists(link)
copy = " " & recent
book.AddToRecentDocuments (copy)
Expect "AddToRecentDocuments of a copy", copy, " " & recent

If failures = 0 Then WScript.Echo "members: ok"
WScript.Quit failures
