// What only the Windows backend does: text in the ANSI code page and names
// through the wide functions, and the system's own error codes met as the
// log's faults.
#include <windows.h>

#include <algorithm>

#include "logfile/LogTestSupport.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using namespace test;

// The text as the ANSI code page holds it.
std::string Ansi(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();
  return bytes;
}

// A name no code page holds whole, a log line and an INI value that the
// ANSI code page holds: the files keep the text in that code page, and the
// library gives back what it was given.
TEST_F(LogTest, NamesOfAnyTextAndLinesAndValuesInTheAnsiCodePage) {
  const std::string name = dir.File("journal \xC3\xA9\xE2\x82\xAC\xE6\x97\xA5.log");  // é € 日
  book->LogFileName(name);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("caf\xC3\xA9"); }), Succeeded(1));
  EXPECT_EQ(book->DoesLogFileExist(), True);
  EXPECT_NE(ReadFile(name).find(" - " + Ansi(L"caf\u00E9") + "\r\n"), std::string::npos);

  book->INI_PathToINI(dir.File("r\xC3\xA9glages.ini"));
  EXPECT_NE(book->INI_WriteString("Section", "cl\xC3\xA9", "valeur \xC3\xA9t\xC3\xA9"), 0);
  EXPECT_EQ(book->INI_ReadString("section", "cl\xC3\xA9"), "valeur \xC3\xA9t\xC3\xA9");
  EXPECT_NE(ReadFile(dir.File("r\xC3\xA9glages.ini")).find(Ansi(L"cl\u00E9=valeur \u00E9t\u00E9")),
            std::string::npos);
}

// A log whose path is longer than an old 128-character buffer exists, and
// is appended to, not started afresh.
TEST_F(LogTest, ALogUnderALongPathIsFoundAndAppendedTo) {
  const std::string folder = dir.File(std::string(200 - dir.File("").size() - 11, 'f'));
  const std::string log = folder + "\\events.log";
  ASSERT_EQ(log.size(), 200u);
  WriteFile(log, "kept\r\n");
  book->LogFileName(log);
  EXPECT_EQ(book->DoesLogFileExist(), True);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("appended"); }), Succeeded(1));
  EXPECT_EQ(Shape(After(log, "kept\r\n")), Lines{"- appended"});
}

// Four processes, each with a JotBook, write one missing log at once: the
// one that creates it writes its start line, and no event is torn or lost.
TEST_F(LogTest, ManyProcessesWriteOneLogWithoutATornOrLostLine) {
  constexpr int kWriters = 4, kEvents = 500;
  std::vector<PROCESS_INFORMATION> writers(kWriters);
  for (int w = 0; w < kWriters; ++w) {
    std::wstring line = L"log_writer \"" + PathOf(logPath).wstring() + L"\" " + std::to_wstring(w) +
                        L" " + std::to_wstring(kEvents);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    ASSERT_TRUE(CreateProcessW(PathOf(JOTWELL_LOG_WRITER).wstring().c_str(), line.data(), nullptr,
                               nullptr, FALSE, 0, nullptr, nullptr, &start, &writers[w]));
  }
  for (PROCESS_INFORMATION& writer : writers) {
    DWORD code = 1;
    WaitForSingleObject(writer.hProcess, 120000);
    GetExitCodeProcess(writer.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(writer.hThread), CloseHandle(writer.hProcess);
  }
  Lines lines = LogLines(), expected;
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), (Lines{"started", ""}));
  for (int e = 0; e < kWriters * kEvents; ++e)
    expected.push_back("- w" + std::to_string(e % kWriters) + " e" + std::to_string(e / kWriters));
  std::sort(lines.begin() + 2, lines.end()), std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Lines(lines.begin() + 2, lines.end()), expected);
}

// How the log meets what the system refuses: the run-time error its code
// maps to, once, with nothing left open. (A read-only file is no fault to
// Wine's root user, who writes it all the same.)
struct Fault {
  const char* name;
  const char* log;  // in the test's folder; "NUL" is the system's device
  Integer number;
  const char* firstLine;
};

class Win32FaultTest : public LogTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(Win32FaultTest, IsReportedOnceWithItsNumber) {
  const Fault& fault = GetParam();
  const std::string path = fault.log == std::string("NUL") ? fault.log : dir.File(fault.log);
  CreateDirectoryW(PathOf(dir.File("folder.log")).wstring().c_str(), nullptr);
  // Another program's open that shares nothing.
  HANDLE held = CreateFileW(PathOf(dir.File("held.log")).wstring().c_str(), GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, 0, nullptr);
  book->MaximumLogFileSize(-1);  // no free-space warning, whatever the volume
  book->LogFileName(path);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }),
            Failed(fault.number, fault.firstLine));
  CloseHandle(held);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Win32FaultTest,
    ::testing::Values(
        Fault{"MissingFolderIs76", "missing\\events.log", 76, "Run Time Error Number 76 occurred."},
        Fault{"FolderIs75", "folder.log", 75, "Path/File Error!"},
        Fault{"DeviceIs75", "NUL", 75, "Path/File Error!"},
        // Given up once the holder has shown no progress for a while.
        Fault{"HeldByAnotherIs70", "held.log", 70, "Run Time Error Number 70 occurred."}),
    [](const auto& info) { return std::string(info.param.name); });

// With no display the library's own Desktop is headless: the first object
// of a thread is handed out without an About window, and a report is
// printed and answered Abort.
using Win32DesktopTest = IsolatedReportsTest;

TEST_F(Win32DesktopTest, WithoutADisplayServesHeadless) {
  ScopedDesktop defaultDesktop{nullptr};
  Long choice = 0;
  ::testing::internal::CaptureStderr();
  OnFreshThread([&] {
    JotBook first;
    choice = ErrorManager().DysplayMessage("Module1", "Sub Probe");
  });
  EXPECT_EQ(choice, choice::kAbort);
  EXPECT_THAT(::testing::internal::GetCapturedStderr(),
              HasSubstr("Procedure [Sub Probe] in Module [Module1]"));
}

}  // namespace
}  // namespace jotwell
