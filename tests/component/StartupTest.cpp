// Start-up on each thread's first JotBook, and the About window's handlers.
#include <gmock/gmock.h>

#include "component/LibraryFacts.h"
#include "jotwell/JotBook.h"
#include "support/AllocationCounter.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;
using Kind = testing::ScriptedDesktop::Kind;
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
