// JotBook: the library's one class. An event log, INI settings, file
// utilities and error reporting for a desktop application.
//
// An object is used on the thread that created it. The first object created
// on a thread shows the About window before the constructor returns.
//
// Members do not throw for a failure of their own: they show it and return.
// Each member says how: the library's error box (after the exclamation
// sound), the ErrorWritingToLogFile event, or a neutral result (False, 0,
// ""). An unexpected run-time error inside any member opens the error report
// (Abort, Retry, Ignore), which is also appended to the error log (beside the
// library, or under $XDG_STATE_HOME/jotwell/ when that folder is read-only).
// Only an error met while the library handles another reaches the
// caller, thrown (a RuntimeError). Without a display, boxes and reports go
// to standard error. A C++ host learns what went wrong from LastFailure().
//
// Paths: the log file and the INI file, when given a relative name, lie in
// the library's folder (the one libjotwell.so lies in), not the current
// folder: give them absolute paths. The file utilities take paths as the
// system does, relative to the process's current folder.
#pragma once

#include <memory>

#include "jotwell/Export.h"
#include "jotwell/RuntimeError.h"  // what a host may catch
#include "jotwell/ValueTypes.h"

namespace jotwell {

// The events a JotBook raises, delivered synchronously to every connected
// sink.
class JOTWELL_EXPORT JotBookEvents {
 public:
  // An event line was written and the log file closed.
  virtual void SuccessfulWriteToLogFile() = 0;
  // The log file could not be written; RunTimeErrorNum is the run-time error
  // number (57 device, 61 disk full, 75 path or access, or another). The
  // error box follows; for a number other than those three it shows what
  // the sink left in RunTimeErrorNum.
  virtual void ErrorWritingToLogFile(Integer& RunTimeErrorNum) = 0;

 protected:
  ~JotBookEvents() = default;
};

class JOTWELL_EXPORT JotBook {
 public:
  JotBook();
  ~JotBook();
  JotBook(const JotBook&) = delete;
  JotBook& operator=(const JotBook&) = delete;

  // The calling thread's predeclared instance, created on first use (the
  // thread's first object, so it may show the About window).
  static JotBook& Global();

  // Moves the file to the desktop's trash, restorable and without asking.
  // True when moved. No file there (or an empty name): the error box, then
  // False; a trash that refuses the file: False, nothing shown.
  Boolean DeleteToRecycleBin(String FileName);
  // The INI file's full path as stored; "" until set. One per thread,
  // shared by all the thread's objects.
  String INI_PathToINI();
  // Names the INI file for every object of the calling thread. Blanks at
  // both ends are removed; a relative name is completed with the library's
  // folder ("" stores that folder and a "/"). Nothing is checked on disk.
  void INI_PathToINI(String PathToINI);
  // The part of an existing file's path after its last "/"; a path without
  // one comes back whole. No file there: the error box, then "".
  String StripPath(const String& FullPath);
  // Stores the text as keyname in SectionName of the INI file, making the
  // file, section and key as needed. Non-zero when written. No INI path
  // set: the error box, then 0. A file that cannot be written, or a text
  // that would not read back as written: 0, the file unchanged, nothing
  // shown.
  Long INI_WriteString(const String& SectionName, const String& keyname,
                       const String& WhatToWrite);
  // The key's value as a number (its leading integer); 0 when the section
  // or key is missing. No INI path set, or no file there: the error box,
  // then 0. A number outside -32768 to 32767 opens the error report.
  Integer INI_ReadINT(const String& SectionName, const String& keyname);
  // The key's whole text; "" when the section or key is missing. No INI
  // path set, or no file there: the error box, then "".
  String INI_ReadString(const String& SectionName, const String& keyname);
  // Appends the end line (framed by empty lines) to the log. Destroying an
  // object writes none. No log file: the error box, nothing written. A file
  // that cannot be written: ErrorWritingToLogFile, then the error box. Free
  // space below MaximumLogFileSize: a warning box, then the line.
  void EndLogFileEvents();
  // Appends "date time - Data" to the log file, opened and closed within
  // the call. The file starts afresh, with a start line, when it is
  // missing, when OverwriteLogFile is True or when it is longer than
  // MaximumLogFileSize. Written: SuccessfulWriteToLogFile, and a pending
  // overwrite is cleared. A file that cannot be written:
  // ErrorWritingToLogFile, then the error box; the overwrite stays pending.
  // Free space below the size limit: a warning box, then the write.
  void WriteEventToLogFile(const String& Data);
  // Adds the file to the desktop's recent-documents list; FilePath receives
  // the path without blanks at its ends. Failures are not reported.
  void AddToRecentDocuments(String& FilePath);
  // The log file's length in bytes, measured now; 0 when there is none or
  // it cannot be measured.
  Long SizeOfCurrentLogFile();
  // The overwrite request, as stored.
  Boolean OverwriteLogFile();
  // True makes the next event write start the log afresh. Any other value
  // is stored as passed and requests nothing.
  void OverwriteLogFile(Boolean TrueOrFalse);
  // The log's size limit in bytes; 0 until set. An event write turns a 0
  // into 2,000,000.
  Long MaximumLogFileSize();
  // Stores any value, zero and negative included (a negative limit restarts
  // an existing log at every write).
  void MaximumLogFileSize(Long Size);
  // The log file's full path as stored; "" until set.
  String LogFileName();
  // Names the log file. Blanks at both ends are removed; a relative name is
  // completed with the library's folder ("" stores that folder and a "/").
  // Nothing is checked or created on disk.
  void LogFileName(String NameOfLogFile);
  // True when the log file exists and can be opened; False for a folder, a
  // missing file or no name.
  Boolean DoesLogFileExist();
  // Deletes the log file. No name ever set: the error box. A file that
  // cannot be deleted (missing, no permission): an information box.
  void DeleteLogFile();
  // Copies the files of Source whose names match FileSpec ("*" and "?", as
  // the Windows file search reads them, case ignored) to Destination,
  // replacing existing copies, and makes Destination (one level) when missing.
  // Both folders are prefixes joined straight to the names: end them with
  // "/". Returns the number of matching entries, failed copies included; 0
  // when nothing matches or on any error, nothing shown.
  Long CopyFiles(const String& Source, const String& Destination, const String& FileSpec);
  // The bytes free to the user on the volume that holds the log file (the
  // root while no name is set), as a whole Currency; 0 when unknown.
  Currency DiskFreeSpace();

  // Connects a sink: each event goes, on this thread and before the member
  // that raises it goes on, to every sink connected when it was raised. The
  // sink must stay alive until Unadvise. Connected twice, it is called twice;
  // Unadvise removes one connection, and ignores a sink not connected.
  void Advise(JotBookEvents& sink);
  void Unadvise(JotBookEvents& sink);

  // The last failure the last member call on this object met, for a C++
  // host, which has no report, box or event to watch: a run-time error the
  // library handled (whatever the user chose), a precondition the member
  // refused with its error box (5 when a path is not set, 53 for a missing
  // file), or a refusal of the system the member returned as its result or
  // passed over (an INI write into a missing folder is 76; a copy refused
  // inside CopyFiles gives its number, though it is still counted). Number
  // 0 and an empty description when the call met none. Failures while the
  // first object of a thread starts up belong to no call. Like every
  // member, not for concurrent calls on one object.
  struct FailureInfo {
    Long Number = 0;
    String Description;
  };
  FailureInfo LastFailure() const;

 private:
  struct WithoutStartUp {};
  explicit JotBook(WithoutStartUp);

  class Private;
  std::unique_ptr<Private> private_;
};

}  // namespace jotwell
