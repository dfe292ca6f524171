// Every JotBook member follows the error trap under its own name, and the
// properties start empty.
#include <latch>
#include <thread>
#include <type_traits>

#include "jotwell/JotBook.h"
#include "support/AllocationCounter.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

static_assert(!std::is_constructible_v<Boolean, int> && !std::is_convertible_v<int, Boolean>);
static_assert(std::is_convertible_v<bool, Boolean>);

// Short texts keep the call free of heap allocations before the member's entry.
struct Args {
  String file = "f", folder = "d", ini = "i", log = "l";
};

using V = std::vector<std::string>;
struct Member {
  const char* title;
  std::function<void(JotBook&, const Args&)> call;
  V arguments, variables;
};

class JotBookMember : public test::IsolatedReportsTest, public ::testing::WithParamInterface<Member> {
 protected:
  test::ScopedEnv dataHome{"XDG_DATA_HOME", dir.path().string()};  // recent documents stay here
};

// Run normally, the member leaves the trace as it found it; with a failing
// entry (the trace has to grow and cannot) it reports under its own title
// with every name it registers.
TEST_P(JotBookMember, KeepsTheTraceAndReportsUnderItsTitleWithItsNames) {
  Args real{dir.File("missing.txt"), dir.path().string(), dir.File("settings.ini"), dir.File("app.log")};
  test::WriteFile(dir.File("copy.txt"), "x");  // something for CopyFiles to copy
  test::OnFreshThread([&] {
    JotBook book;
    book.INI_PathToINI(real.ini);
    book.LogFileName(real.log);
    ErrorManager().AddCall(String("Host![Sub Caller]"));
    GetParam().call(book, real);
    EXPECT_EQ(ErrorManager().CallStack(), std::vector<String>{"Host![Sub Caller]"});
  });
  ASSERT_TRUE(Reports().empty());
  test::OnFreshThread([&] {
    JotBook book;
    test::FillTrace(test::kTraceCapacity - ErrorManager().CallDepth());
    test::FailNextAllocation();
    GetParam().call(book, Args{});
  });
  ASSERT_EQ(Reports().size(), 1u);
  const std::string report = Reports()[0];
  EXPECT_NE(report.find("        Number: 7\r\n"), std::string::npos);
  EXPECT_NE(report.find(std::string("    Procedure [") + GetParam().title + "] in Module [JotBook]"),
            std::string::npos);
  EXPECT_EQ(test::NamesOf(test::SectionOf(report, "Arguments:")), GetParam().arguments);
  EXPECT_EQ(test::NamesOf(test::SectionOf(report, "Variables:")), GetParam().variables);
}

using B = JotBook;
using A = const Args&;
INSTANTIATE_TEST_SUITE_P(
    Table, JotBookMember,
    ::testing::Values(
        Member{"Function DeleteToRecycleBin", [](B& b, A a) { b.DeleteToRecycleBin(a.file); }, {"FileName"}, {"RetVal", "DoesItExist"}},
        Member{"Property Get INI_PathToINI", [](B& b, A) { b.INI_PathToINI(); }},
        Member{"Property Let INI_PathToINI", [](B& b, A a) { b.INI_PathToINI(a.ini); }, {"PathToINI"}},
        Member{"Function StripPath", [](B& b, A a) { b.StripPath(a.file); }, {"FullPath$"}, {"x%", "ct%", "DoesItExist"}},
        Member{"Function INI_WriteString", [](B& b, A) { b.INI_WriteString("Sect", "key", "value"); }, {"SectionName$", "keyname$", "WhatToWrite$"}},
        Member{"Function INI_ReadINT", [](B& b, A) { b.INI_ReadINT("Sect", "key"); }, {"SectionName$", "keyname$"}, {"DoesItExist"}},
        Member{"Function INI_ReadString", [](B& b, A) { b.INI_ReadString("Sect", "key"); }, {"SectionName$", "keyname$"}, {"DoesItExist"}},
        Member{"Sub EndLogFileEvents", [](B& b, A) { b.EndLogFileEvents(); }},
        Member{"Sub WriteEventToLogFile", [](B& b, A) { b.WriteEventToLogFile("event"); }, {"Data"}},
        Member{"Sub AddToRecentDocuments", [](B& b, A a) { String p = a.file; b.AddToRecentDocuments(p); }, {"FilePath"}},
        Member{"Property Get SizeOfCurrentLogFile", [](B& b, A) { b.SizeOfCurrentLogFile(); }},
        Member{"Property Get OverwriteLogFile", [](B& b, A) { b.OverwriteLogFile(); }},
        Member{"Property Let OverwriteLogFile", [](B& b, A) { b.OverwriteLogFile(True); }, {"TrueOrFalse"}},
        Member{"Property Get MaximumLogFileSize", [](B& b, A) { b.MaximumLogFileSize(); }},
        Member{"Property Let MaximumLogFileSize", [](B& b, A) { b.MaximumLogFileSize(500); }, {"Size"}},
        Member{"Property Get LogFileName", [](B& b, A) { b.LogFileName(); }},
        Member{"Property Let LogFileName", [](B& b, A a) { b.LogFileName(a.log); }, {"NameOfLogFile"}},
        Member{"Property Get DoesLogFileExist", [](B& b, A) { b.DoesLogFileExist(); }, {}, {"DoesItExist"}},
        Member{"Sub DeleteLogFile", [](B& b, A) { b.DeleteLogFile(); }, {}, {"dl&"}},
        Member{"Function CopyFiles", [](B& b, A a) { b.CopyFiles(a.folder, a.folder + "/out", "*.txt"); }, {"Source", "Destination", "FileSpec"}},
        Member{"Function DiskFreeSpace", [](B& b, A) { b.DiskFreeSpace(); }, {},
               {"Drive", "DrivePath", "SectorsPerCluster", "BytesPerSector", "NumberOfFreeClusters", "TotalClusters", "Sts",
                "DS", "DiskSpace", "t", "BytesFreeToCalller", "TotalBytes", "TotalFreeBytes", "TotalBytesUsed"}}),
    [](const auto& info) {
      std::string name = info.param.title;
      name.erase(0, name.find(' ') + 1);
      return name.rfind("Get ", 0) == 0 || name.rfind("Let ", 0) == 0 ? name.substr(4) + name.substr(0, 3) : name;
    });

using JotBookTest = test::ScriptedDesktopTest;

TEST_F(JotBookTest, PropertiesStartEmptyAndKeepRawBooleans) {
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
  });
}

TEST_F(JotBookTest, GlobalIsOneInstancePerThread) {
  JotBook *first = nullptr, *again = nullptr, *other = nullptr;
  std::latch bothCreated(2);  // both threads live on, so no address is reused
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
}

}  // namespace
}  // namespace jotwell
