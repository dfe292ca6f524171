// The report window on a real display: each way of answering it and what
// the trap then does, the copy button and the clipboard, closing without a
// choice, a second report while one is shown, and a report of any bytes.

#include <atomic>

#include "e2e/WindowSupport.h"
#include "errors/Trap.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;
using test::Caller;

constexpr Procedure kProbe = "Module1![Function Probe]";
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

// Keys (nullptr: a click on Ignore), the choice, how often the failing
// statement ran, whether the statement after it ran.
struct Answer {
  const char *name, *keys;
  Long choice;
  int tries;
  bool after;
};

void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.name; }

class AnswerTest : public ReportWindowTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(AnswerTest, TheTrapActsOnTheAnswer) {
  int tries = 0;
  bool after = false;
  Integer choice = 0;
  Caller probe([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] { if (++tries == 1) throw RuntimeError(errnum::kPathNotFound); });
      trap.Do([&] { after = true; });
    });
    choice = ErrorManager().UserChoice();
  });
  std::string window = test::WindowOf("jotwell-report");
  test::Screenshot(window, "report-window");
  EXPECT_THAT(test::Run("xdotool getwindowgeometry " + window), HasSubstr("Geometry: 438x385"));
  if (GetParam().keys) test::Keys(window, GetParam().keys);
  else test::ClickAt(window, kIgnoreButton);
  probe.Join();
  EXPECT_EQ(choice, GetParam().choice);
  EXPECT_EQ(tries, GetParam().tries);
  EXPECT_EQ(after, GetParam().after);
  EXPECT_TRUE(test::Gone(window));
}

INSTANTIATE_TEST_SUITE_P(Each, AnswerTest,
                         ::testing::Values(Answer{"AltA", "alt+a", choice::kAbort, 1, false},
                                           Answer{"AltR", "alt+r", choice::kRetry, 2, true},
                                           Answer{"AltI", "alt+i", choice::kIgnore, 1, true},
                                           Answer{"Escape", "Escape", choice::kAbort, 1, false},
                                           Answer{"IgnoreClicked", nullptr, choice::kIgnore, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The copied text is the report byte for byte, here 10,000 lines with NULs
// and invalid UTF-8, which the window shows without harm.
TEST_F(ReportWindowTest, CopyPutsTheWholeReportOnTheClipboardAndLeavesTheWindowOpen) {
  String big;
  for (int i = 0; i < 10000; ++i) big += "line " + std::to_string(i) + " \0 \xFF\xFE\xC3 \r\n"s;
  Integer choice = 0;
  Caller probe([&] {
    RunTraced(kProbe, [&](Registrations& r) { r.Arguments({{"Big", big}}); },
              [&](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kPathNotFound); }); });
    choice = ErrorManager().UserChoice();
  });
  std::string window = test::WindowOf("jotwell-report");
  int agent = test::AgentId();
  EXPECT_EQ(Copy(window, "End Details"), ErrorLog());
  EXPECT_FALSE(probe.Returned(200ms));
  test::Keys(window, "alt+i");
  probe.Join();
  EXPECT_EQ(choice, choice::kIgnore);
  EXPECT_EQ(test::AgentId(), agent) << "the agent did not survive";
  EXPECT_THAT(ErrorLog(), HasSubstr(big.substr(0, 200)));
  EXPECT_EQ(test::Clipboard(), ErrorLog()) << "the clipboard lost the text with the window";
}

// Closing the window is no choice: the thread's last choice stands, 0
// before the first.
TEST_F(ReportWindowTest, ClosingWithoutAChoiceLeavesTheLastChoice) {
  std::vector<Long> choices;
  Caller reports([&] {
    for (int i = 0; i < 3; ++i) choices.push_back(ErrorManager().DysplayMessage("Module1", "Sub Probe"));
  });
  for (std::string answer : {"close", "alt+r", "close"}) {
    std::string window = test::WindowOf("jotwell-report");
    if (answer == "close") EXPECT_TRUE(test::SendCloseRequest(window));
    else test::Keys(window, answer);
    EXPECT_TRUE(test::Gone(window));
  }
  reports.Join();
  EXPECT_EQ(choices, (std::vector<Long>{0, choice::kRetry, choice::kRetry}));
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
