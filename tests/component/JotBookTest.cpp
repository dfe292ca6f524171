// Start-up on each thread's first JotBook and the About window's handlers;
// every member follows the error trap under its own name.
#include <gmock/gmock.h>

#include <latch>
#include <thread>
#include <type_traits>

#include "component/LibraryFacts.h"
#include "jotwell/JotBook.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {
using ::testing::HasSubstr;
using Kind = testing::ScriptedDesktop::Kind;

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
  EXPECT_THAT(report, HasSubstr("        Number: 7\r\n"));
  EXPECT_THAT(report, HasSubstr(std::string("    Procedure [") + GetParam().title + "] in Module [JotBook]"));
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


using Startup = test::IsolatedReportsTest;

TEST_F(Startup, TheFirstJotBookBeepsTwiceAndReturnsOnlyAfterTheAboutWindowCloses) {
  bool constructed = false, constructedWhileShown = true;
  int exclamationsWhileShown = 0;
  desktop->QueueAboutActions([&](AboutWindow& window) {
    constructedWhileShown = constructed;
    exclamationsWhileShown = desktop->Exclamations();
    window.Form1_Click();
  });
  test::OnFreshThread([&] {
    JotBook book;
    constructed = true;
    JotBook second;  // later objects on the thread start silently
  });
  EXPECT_FALSE(constructedWhileShown);
  EXPECT_EQ(exclamationsWhileShown, 2);  // Main's, then the window's load
  std::vector<testing::ScriptedDesktop::Entry> about = desktop->Shown(Kind::About);
  ASSERT_EQ(about.size(), 1u);
  EXPECT_THAT(about[0].text, HasSubstr("Version 1.1.5"));
  EXPECT_EQ(desktop->Exclamations(), 2);
  test::OnFreshThread([] { JotBook onAnotherThread; });
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 2u);
  EXPECT_EQ(desktop->Exclamations(), 4);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Startup, LinksOpenTheirTargetsAndLeaveTheWindowOpen) {
  bool openAfterLinks = false;
  desktop->QueueAboutActions([&](AboutWindow& window) {
    window.Label5_Click();
    window.Label5_DblClick();
    window.Label4_Click();
    openAfterLinks = window.IsLoaded();
    window.Frame1_Click();
  });
  test::OnFreshThread([] { JotBook book; });
  EXPECT_TRUE(openAfterLinks);
  EXPECT_EQ(desktop->Opened(), (std::vector<String>{kHomePage, kHomePage, kMakerMail}));
  EXPECT_TRUE(std::string_view(kMakerMail).starts_with("mailto:"));
}

// Each handler closes the window or not; with a failing entry (the trace
// must grow and cannot) it reports under its own name and the window stays.
TEST_F(Startup, HandlersCloseOrNotAndReportUnderTheirOwnNames) {
  struct Handler {
    const char* title;
    void (*call)(AboutWindow&);
    bool closes;
  };
  const Handler handlers[] = {
      {"Form1_Click", [](AboutWindow& w) { w.Form1_Click(); }, true},
      {"Form_KeyPress", [](AboutWindow& w) { Integer key = 13; w.Form_KeyPress(key); }, true},
      {"Frame1_Click", [](AboutWindow& w) { w.Frame1_Click(); }, true},
      {"lblProductName_Click", [](AboutWindow& w) { w.lblProductName_Click(); }, true},
      {"Label4_Click", [](AboutWindow& w) { w.Label4_Click(); }, false},
      {"Label5_Click", [](AboutWindow& w) { w.Label5_Click(); }, false},
      {"Label5_DblClick", [](AboutWindow& w) { w.Label5_DblClick(); }, false}};
  for (const Handler& h : handlers) {
    SCOPED_TRACE(h.title);
    bool closed = false, openAfterFailure = false;
    desktop->QueueAboutActions([&](AboutWindow& window) {
      h.call(window);
      closed = !window.IsLoaded();
      if (!closed) window.Form1_Click();
    });
    desktop->QueueAboutActions([&](AboutWindow& window) {
      test::FillTrace(test::kTraceCapacity - ErrorManager().CallDepth());
      test::FailNextAllocation();
      h.call(window);
      openAfterFailure = window.IsLoaded();
      window.Form1_Click();
    });
    size_t reportsBefore = Reports().size();
    test::OnFreshThread([] { JotBook book; });
    test::OnFreshThread([] { JotBook book; });
    EXPECT_EQ(closed, h.closes);
    EXPECT_TRUE(openAfterFailure);
    ASSERT_EQ(Reports().size(), reportsBefore + 1);
    EXPECT_THAT(Reports().back(), HasSubstr(std::string("    Procedure [Sub ") + h.title + "] in Module [frmSplash]"));
  }
  EXPECT_EQ(test::SectionOf(Reports()[1], "Arguments:"), std::vector<std::string>{"KeyAscii = 13"});
}

TEST_F(Startup, AFailureInMainIsReportedAndTheObjectIsCreatedAllTheSame) {
  test::OnFreshThread([] {
    test::FillTrace(test::kTraceCapacity);
    test::FailNextAllocation();
    JotBook book;
    EXPECT_EQ(book.MaximumLogFileSize(), 0);
  });
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_THAT(Reports()[0], HasSubstr("    Procedure [Sub Main] in Module [Module1]\r\n\r\n        Call Stack:"));
  EXPECT_TRUE(desktop->Shown(Kind::About).empty());  // Abort ended Main before the window
}

}  // namespace
}  // namespace jotwell
