// The report window on a real display: each way of answering it and what
// the trap then does, closing without a choice, the copy button and the
// clipboard, a second report while one is shown, and a report of any bytes.

#include <atomic>

#include "e2e/WindowSupport.h"
#include "support/WindowAnswers.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;
using test::Caller;

constexpr test::Point kIgnoreButton{356, 364}, kCopyButton{412, 364};

class ReportWindowTest : public test::WindowsTest {
 protected:
  std::string ErrorLog() const { return test::ReadFile(dir.File("Jotwell.ErrorLog.txt")); }
  // Clicks the copy button; the clipboard once it holds `part`.
  static std::string Copy(const std::string& window, const std::string& part) {
    test::ClickAt(window, kCopyButton);
    std::string copied;
    test::Eventually([&] { return (copied = test::Clipboard()).find(part) != std::string::npos; });
    return copied;
  }
};

class AnswerTest : public ReportWindowTest, public ::testing::WithParamInterface<test::Answer> {};

// Closing a window is no choice: a second report closed leaves the choice
// the first made (0 when there was none).
TEST_P(AnswerTest, TheTrapActsOnTheAnswerAndClosingTheNextWindowLeavesIt) {
  bool after = false;
  Long choice = -1, afterClosing = -1;
  Caller probe([&] {
    RunTraced(test::kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do(test::FailingOnce(errnum::kPathNotFound));
      trap.Do([&] { after = true; });
    });
    choice = ErrorManager().UserChoice();
    afterClosing = ErrorManager().DysplayMessage("Module1", "Sub Probe");
  });
  std::string window = test::WindowOf("jotwell-report"), how = GetParam().how;
  test::Screenshot(window, "report-window");
  EXPECT_THAT(test::Run("xdotool getwindowgeometry " + window), HasSubstr("Geometry: 438x385"));
  if (how == "click") test::ClickAt(window, kIgnoreButton);
  else if (how == "close") EXPECT_TRUE(test::SendCloseRequest(window));
  else test::Keys(window, how);
  EXPECT_TRUE(test::Gone(window));
  EXPECT_TRUE(test::SendCloseRequest(test::WindowOf("jotwell-report")));
  probe.Join();
  EXPECT_EQ(std::tuple(choice, afterClosing, after),
            std::tuple(GetParam().choice, GetParam().choice, GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Each, AnswerTest, ::testing::ValuesIn(test::kReportAnswers),
                         test::ByName());

// The copied text is the report byte for byte, here 10,000 lines with NULs
// and invalid UTF-8, which the window shows without harm. The button's
// picture sits in its middle.
TEST_F(ReportWindowTest, CopyPutsTheWholeReportOnTheClipboardAndLeavesTheWindowOpen) {
  String big;
  for (int i = 0; i < 10000; ++i) big += "line " + std::to_string(i) + " \0 \xFF\xFE\xC3 \r\n"s;
  Integer choice = 0;
  Caller probe([&] {
    auto registrations = [&](Registrations& r) { r.Arguments({{"Big", big}}); };
    auto body = [](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kPathNotFound); }); };
    RunTraced(test::kProbe, registrations, body);
    choice = ErrorManager().UserChoice();
  });
  std::string window = test::WindowOf("jotwell-report");
  int agent = test::AgentId();
  EXPECT_EQ(Copy(window, "End Details"), ErrorLog());
  test::Point pages = test::MiddleOfBlue(window, {400, 352}, 25);  // the button's picture
  EXPECT_TRUE(std::abs(pages.x - kCopyButton.x) <= 1 && std::abs(pages.y - kCopyButton.y) <= 1)
      << pages.x << ", " << pages.y;
  EXPECT_FALSE(probe.Returned(200ms));
  test::Keys(window, "alt+i");
  probe.Join();
  EXPECT_EQ(choice, choice::kIgnore);
  EXPECT_EQ(test::AgentId(), agent) << "the agent did not survive";
  EXPECT_THAT(ErrorLog(), HasSubstr(big.substr(0, 200)));
  EXPECT_EQ(test::Clipboard(), ErrorLog()) << "the clipboard lost the text with the window";
}

// A host event handled while the report waits raises a second report: it
// replaces the text and returns at once; the first still waits.
TEST_F(ReportWindowTest, ASecondReportWhileOneIsShownReplacesTheTextWithoutWaiting) {
  std::atomic<Long> outer{-1}, nested{-1};
  Caller host([&] {
    test::OnMainLoop([&] { outer = ErrorManager().DysplayMessage("Module1", "Sub Outer"); }, 300ms,
                     [&] { return nested = ErrorManager().DysplayMessage("Module1", "Sub Nested"), false; });
  });
  std::string window = test::WindowOf("jotwell-report");
  EXPECT_TRUE(test::Eventually([&] { return nested == 0; }));
  EXPECT_EQ(outer, -1);
  EXPECT_THAT(Copy(window, "Sub Nested"), HasSubstr("Procedure [Sub Nested] in Module [Module1]"));
  test::Keys(window, "alt+i");
  host.Join();
  EXPECT_EQ(outer, choice::kIgnore);
}

}  // namespace
}  // namespace jotwell
