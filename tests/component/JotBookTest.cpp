// Every JotBook member follows the error trap under its own name, and the
// properties start empty.
#include <latch>
#include <thread>
#include <type_traits>

#include "errors/frmErrMn.h"
#include "jotwell/JotBook.h"
#include "support/AllocationCounter.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using Kind = testing::ScriptedDesktop::Kind;
using test::ScriptedDesktopTest;

static_assert(!std::is_constructible_v<Boolean, int>);
static_assert(!std::is_convertible_v<int, Boolean>);
static_assert(std::is_convertible_v<bool, Boolean>);

// What a member is called with; short texts keep the call free of heap
// allocations before the member's own entry.
struct Args {
  String file = "f", folder = "d", ini = "i", log = "l";
};

struct Member {
  const char* title;
  std::function<void(JotBook&, const Args&)> call;
  std::vector<std::string> arguments;
  std::vector<std::string> variables;
};

class JotBookMember : public test::IsolatedReportsTest,
                      public ::testing::WithParamInterface<Member> {
 protected:
  // Recent documents go to the test's folder, not the user's.
  test::ScopedEnv dataHome{"XDG_DATA_HOME", dir.path().string()};
};

TEST_P(JotBookMember, LeavesTheTraceAsDeepAsItFoundIt) {
  Args args{dir.File("missing.txt"), dir.path().string(), dir.File("settings.ini"),
            dir.File("app.log")};
  test::WriteFile(dir.File("copy.txt"), "x");  // something for CopyFiles to copy
  test::OnFreshThread([&] {
    JotBook book;
    book.INI_PathToINI(args.ini);
    book.LogFileName(args.log);
    ErrorManager().AddCall(String("Host![Sub Caller]"));
    GetParam().call(book, args);
    EXPECT_EQ(ErrorManager().CallStack(), std::vector<String>{"Host![Sub Caller]"});
  });
  EXPECT_TRUE(desktop->Shown(Kind::Report).empty());
}

// A failing entry (the trace has to grow and cannot) shows the member's own
// report with every name it registers.
TEST_P(JotBookMember, ReportsUnderItsTitleWithItsRegisteredNames) {
  test::OnFreshThread([&] {
    JotBook book;
    Args args;
    test::FillTrace(test::kTraceCapacity - ErrorManager().CallDepth());
    test::FailNextAllocation();
    GetParam().call(book, args);
  });
  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 1u);
  const std::string& report = reports[0].text;
  EXPECT_NE(report.find("        Number: 7\r\n"), std::string::npos);
  EXPECT_NE(report.find(std::string("    Procedure [") + GetParam().title + "] in Module [JotBook]"),
            std::string::npos)
      << report.substr(0, 800);
  EXPECT_EQ(test::NamesOf(test::SectionOf(report, "Arguments:")), GetParam().arguments);
  EXPECT_EQ(test::NamesOf(test::SectionOf(report, "Variables:")), GetParam().variables);
}

std::vector<Member> Members() {
  using V = std::vector<std::string>;
  return {
      {"Function DeleteToRecycleBin", [](JotBook& b, const Args& a) { b.DeleteToRecycleBin(a.file); },
       V{"FileName"}, V{"RetVal", "DoesItExist"}},
      {"Property Get INI_PathToINI", [](JotBook& b, const Args&) { b.INI_PathToINI(); }, V{}, V{}},
      {"Property Let INI_PathToINI", [](JotBook& b, const Args& a) { b.INI_PathToINI(a.ini); },
       V{"PathToINI"}, V{}},
      {"Function StripPath", [](JotBook& b, const Args& a) { b.StripPath(a.file); },
       V{"FullPath$"}, V{"x%", "ct%", "DoesItExist"}},
      {"Function INI_WriteString",
       [](JotBook& b, const Args&) { b.INI_WriteString("Sect", "key", "value"); },
       V{"SectionName$", "keyname$", "WhatToWrite$"}, V{}},
      {"Function INI_ReadINT", [](JotBook& b, const Args&) { b.INI_ReadINT("Sect", "key"); },
       V{"SectionName$", "keyname$"}, V{"DoesItExist"}},
      {"Function INI_ReadString", [](JotBook& b, const Args&) { b.INI_ReadString("Sect", "key"); },
       V{"SectionName$", "keyname$"}, V{"DoesItExist"}},
      {"Sub EndLogFileEvents", [](JotBook& b, const Args&) { b.EndLogFileEvents(); }, V{}, V{}},
      {"Sub WriteEventToLogFile", [](JotBook& b, const Args&) { b.WriteEventToLogFile("event"); },
       V{"Data"}, V{}},
      {"Sub AddToRecentDocuments",
       [](JotBook& b, const Args& a) {
         String path = a.file;
         b.AddToRecentDocuments(path);
       },
       V{"FilePath"}, V{}},
      {"Property Get SizeOfCurrentLogFile", [](JotBook& b, const Args&) { b.SizeOfCurrentLogFile(); },
       V{}, V{}},
      {"Property Get OverwriteLogFile", [](JotBook& b, const Args&) { b.OverwriteLogFile(); }, V{},
       V{}},
      {"Property Let OverwriteLogFile", [](JotBook& b, const Args&) { b.OverwriteLogFile(True); },
       V{"TrueOrFalse"}, V{}},
      {"Property Get MaximumLogFileSize", [](JotBook& b, const Args&) { b.MaximumLogFileSize(); },
       V{}, V{}},
      {"Property Let MaximumLogFileSize", [](JotBook& b, const Args&) { b.MaximumLogFileSize(500); },
       V{"Size"}, V{}},
      {"Property Get LogFileName", [](JotBook& b, const Args&) { b.LogFileName(); }, V{}, V{}},
      {"Property Let LogFileName", [](JotBook& b, const Args& a) { b.LogFileName(a.log); },
       V{"NameOfLogFile"}, V{}},
      {"Property Get DoesLogFileExist", [](JotBook& b, const Args&) { b.DoesLogFileExist(); }, V{},
       V{"DoesItExist"}},
      {"Sub DeleteLogFile", [](JotBook& b, const Args&) { b.DeleteLogFile(); }, V{}, V{"dl&"}},
      {"Function CopyFiles",
       [](JotBook& b, const Args& a) { b.CopyFiles(a.folder, a.folder + "/out", "*.txt"); },
       V{"Source", "Destination", "FileSpec"}, V{}},
      {"Function DiskFreeSpace", [](JotBook& b, const Args&) { b.DiskFreeSpace(); }, V{},
       V{"Drive", "DrivePath", "SectorsPerCluster", "BytesPerSector", "NumberOfFreeClusters",
         "TotalClusters", "Sts", "DS", "DiskSpace", "t", "BytesFreeToCalller", "TotalBytes",
         "TotalFreeBytes", "TotalBytesUsed"}},
  };
}

INSTANTIATE_TEST_SUITE_P(
    Table, JotBookMember, ::testing::ValuesIn(Members()),
    [](const ::testing::TestParamInfo<Member>& info) {
      std::string name = info.param.title;
      name.erase(0, name.find(' ') + 1);
      if (name.rfind("Get ", 0) == 0 || name.rfind("Let ", 0) == 0) name = name.substr(4) + name.substr(0, 3);
      return name;
    });

TEST_F(ScriptedDesktopTest, PropertiesStartEmptyAndKeepRawBooleans) {
  test::OnFreshThread([] {
    JotBook book;
    EXPECT_EQ(book.LogFileName(), "");
    EXPECT_EQ(book.INI_PathToINI(), "");
    EXPECT_EQ(book.MaximumLogFileSize(), 0);
    EXPECT_EQ(book.SizeOfCurrentLogFile(), 0);
    EXPECT_EQ(book.OverwriteLogFile().Raw(), 0);
    book.OverwriteLogFile(Boolean::FromRaw(1));
    EXPECT_EQ(book.OverwriteLogFile().Raw(), 1);
    book.OverwriteLogFile(true);
    EXPECT_EQ(book.OverwriteLogFile().Raw(), -1);
    book.MaximumLogFileSize(-5);
    EXPECT_EQ(book.MaximumLogFileSize(), -5);
  });
}

TEST_F(ScriptedDesktopTest, GlobalIsOneInstancePerThread) {
  JotBook* first = nullptr;
  JotBook* again = nullptr;
  JotBook* other = nullptr;
  std::latch bothCreated(2);
  // Both threads stay alive until each has its instance, so the two cannot
  // share an address by reuse.
  std::thread a([&] {
    first = &JotBook::Global();
    first->MaximumLogFileSize(77);
    again = &JotBook::Global();
    bothCreated.arrive_and_wait();
  });
  std::thread b([&] {
    other = &JotBook::Global();
    EXPECT_EQ(other->MaximumLogFileSize(), 0);
    bothCreated.arrive_and_wait();
  });
  a.join();
  b.join();
  EXPECT_EQ(first, again);
  EXPECT_NE(first, other);
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 2u);
}

}  // namespace
}  // namespace jotwell
