// Start-up on each thread's first JotBook, and the About window's handlers.
#include "component/LibraryFacts.h"
#include "errors/frmErrMn.h"
#include "jotwell/JotBook.h"
#include "support/AllocationCounter.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using Kind = testing::ScriptedDesktop::Kind;

class Startup : public test::IsolatedReportsTest {
 protected:
  String LabelText(const AboutWindow& window, const std::string& control) {
    for (const AboutWindow::Label& label : window.Labels())
      if (control == label.control) return label.text;
    return "<no such label>";
  }
};

TEST_F(Startup, TheFirstJotBookBeepsTwiceAndReturnsOnlyAfterTheAboutWindowCloses) {
  bool constructed = false, loadedWhileShown = false, constructedWhileShown = true;
  int exclamationsWhileShown = 0;
  String version, title;
  desktop->QueueAboutActions([&](AboutWindow& window) {
    loadedWhileShown = window.IsLoaded();
    constructedWhileShown = constructed;
    exclamationsWhileShown = desktop->Exclamations();
    version = LabelText(window, "lblVersion");
    title = LabelText(window, "lblProductName");
    Integer key = 'q';
    window.Form_KeyPress(key);
    EXPECT_EQ(key, 'q');
    EXPECT_FALSE(window.IsLoaded());
  });
  test::OnFreshThread([&] {
    JotBook book;
    constructed = true;
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
  EXPECT_TRUE(loadedWhileShown);
  EXPECT_FALSE(constructedWhileShown);
  EXPECT_EQ(exclamationsWhileShown, 2);  // Main's, then the window's load
  EXPECT_EQ(version, "Version 1.1.5");
  EXPECT_EQ(title, "Jotwell");
  std::vector<testing::ScriptedDesktop::Entry> about = desktop->Shown(Kind::About);
  ASSERT_EQ(about.size(), 1u);
  EXPECT_NE(about[0].text.find("Version 1.1.5"), String::npos);
  EXPECT_NE(about[0].text.find("Jotwell"), String::npos);
  EXPECT_EQ(desktop->Exclamations(), 2);
  EXPECT_EQ(desktop->Beeps(), 0);
}

TEST_F(Startup, LaterJotBooksOnTheThreadStartSilentlyAndAnotherThreadStartsAgain) {
  test::OnFreshThread([] {
    JotBook first;
    JotBook second;
    JotBook::Global();
  });
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 1u);
  EXPECT_EQ(desktop->Exclamations(), 2);
  test::OnFreshThread([] { JotBook onAnotherThread; });
  EXPECT_EQ(desktop->Shown(Kind::About).size(), 2u);
  EXPECT_EQ(desktop->Exclamations(), 4);
  EXPECT_TRUE(desktop->Shown(Kind::Report).empty());
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
  std::vector<String> opened = desktop->Opened();
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], kHomePage);
  EXPECT_EQ(opened[1], kHomePage);
  EXPECT_EQ(opened[2], kMakerMail);
  EXPECT_EQ(opened[2].rfind("mailto:", 0), 0u);
}

// Each handler under its own name: a failing entry (the trace must grow and
// cannot) reports it; Abort leaves the window as it was.
struct Handler {
  const char* title;
  void (*call)(AboutWindow&);
  bool closes;
  std::vector<std::string> arguments;
};

class AboutHandler : public Startup, public ::testing::WithParamInterface<Handler> {};

TEST_P(AboutHandler, ClosesOrNotAndReportsUnderItsOwnName) {
  bool closed = false, openAfterFailure = false;
  desktop->QueueAboutActions([&](AboutWindow& window) {
    GetParam().call(window);
    closed = !window.IsLoaded();
    if (!closed) window.lblProductName_Click();
  });
  desktop->QueueAboutActions([&](AboutWindow& window) {
    test::FillTrace(test::kTraceCapacity - ErrorManager().CallDepth());
    test::FailNextAllocation();
    GetParam().call(window);
    openAfterFailure = window.IsLoaded();
    window.Form1_Click();
  });
  test::OnFreshThread([] { JotBook book; });
  test::OnFreshThread([] { JotBook book; });
  EXPECT_EQ(closed, GetParam().closes);
  EXPECT_TRUE(openAfterFailure);

  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].text.find(std::string("    Procedure [") + GetParam().title +
                                 "] in Module [frmSplash]"),
            std::string::npos);
  EXPECT_EQ(test::NamesOf(test::SectionOf(reports[0].text, "Arguments:")), GetParam().arguments);
  EXPECT_TRUE(test::SectionOf(reports[0].text, "Variables:").empty());
}

void PressKey(AboutWindow& window) {
  Integer key = 13;
  window.Form_KeyPress(key);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, AboutHandler,
    ::testing::Values(
        Handler{"Sub Form1_Click", [](AboutWindow& w) { w.Form1_Click(); }, true, {}},
        Handler{"Sub Form_KeyPress", PressKey, true, {"KeyAscii"}},
        Handler{"Sub Frame1_Click", [](AboutWindow& w) { w.Frame1_Click(); }, true, {}},
        Handler{"Sub lblProductName_Click", [](AboutWindow& w) { w.lblProductName_Click(); }, true,
                {}},
        Handler{"Sub Label4_Click", [](AboutWindow& w) { w.Label4_Click(); }, false, {}},
        Handler{"Sub Label5_Click", [](AboutWindow& w) { w.Label5_Click(); }, false, {}},
        Handler{"Sub Label5_DblClick", [](AboutWindow& w) { w.Label5_DblClick(); }, false, {}}),
    [](const ::testing::TestParamInfo<Handler>& info) { return info.param.title + 4; });

TEST_F(Startup, AFailureInMainIsReportedAndTheObjectIsCreatedAllTheSame) {
  test::OnFreshThread([] {
    test::FillTrace(test::kTraceCapacity);
    test::FailNextAllocation();
    JotBook book;
    EXPECT_EQ(book.MaximumLogFileSize(), 0);
  });
  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].text.find("    Procedure [Sub Main] in Module [Module1]\r\n\r\n        Call Stack:"),
            std::string::npos);
  EXPECT_TRUE(desktop->Shown(Kind::About).empty());  // Abort ended Main before the window
}

}  // namespace
}  // namespace jotwell
