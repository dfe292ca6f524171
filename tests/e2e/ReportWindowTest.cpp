// The report window on a real display: each way of answering it and what
// the trap then does, the copy button and the clipboard, closing without a
// choice, a second report while one is shown, and a report of any bytes.

#include <glib.h>

#include <atomic>
#include <thread>

#include "e2e/WindowSupport.h"
#include "errors/Trap.h"
#include "platform/agent/AgentLink.h"

namespace jotwell {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using ::testing::HasSubstr;
using test::Caller;

constexpr Procedure kProbe = "Module1![Function Probe]";

// Button centres, in pixels of the window.
struct Point {
  int x, y;
};
constexpr Point kIgnoreButton{356, 364};
constexpr Point kCopyButton{412, 364};

class ReportWindowTest : public test::WindowsTest {
 protected:
  std::string ErrorLog() const { return dir.File("Jotwell.ErrorLog.txt"); }
};

struct Answer {
  const char* name;
  const char* keys;  // nullptr: the Ignore button is clicked
  Long choice;
  int tries;   // how often the failing statement ran
  bool after;  // whether the statement after it ran
};

void PrintTo(const Answer& answer, std::ostream* out) { *out << answer.name; }

class AnswerTest : public ReportWindowTest, public ::testing::WithParamInterface<Answer> {};

TEST_P(AnswerTest, TheTrapActsOnTheAnswer) {
  const Answer& answer = GetParam();
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
  if (answer.keys) test::Keys(window, answer.keys);
  else test::ClickAt(window, kIgnoreButton.x, kIgnoreButton.y);
  probe.Join();
  EXPECT_EQ(choice, answer.choice);
  EXPECT_EQ(tries, answer.tries);
  EXPECT_EQ(after, answer.after);
  EXPECT_TRUE(test::Gone(window));
}

INSTANTIATE_TEST_SUITE_P(Each, AnswerTest,
                         ::testing::Values(Answer{"AltA", "alt+a", choice::kAbort, 1, false},
                                           Answer{"AltR", "alt+r", choice::kRetry, 2, true},
                                           Answer{"AltI", "alt+i", choice::kIgnore, 1, true},
                                           Answer{"Escape", "Escape", choice::kAbort, 1, false},
                                           Answer{"IgnoreClicked", nullptr, choice::kIgnore, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportWindowTest, CopyPutsTheWholeReportOnTheClipboardAndLeavesTheWindowOpen) {
  Long choice = 0;
  Caller report([&] { choice = ErrorManager().DysplayMessage("JotBook", "Function DeleteToRecycleBin"); });
  std::string window = test::WindowOf("jotwell-report");
  test::Screenshot(window, "report-window");
  test::ClickAt(window, kCopyButton.x, kCopyButton.y);
  std::string log = test::ReadFile(ErrorLog());
  ASSERT_THAT(log, HasSubstr("Procedure [Function DeleteToRecycleBin] in Module [JotBook]"));
  std::string copied;
  for (int i = 0; i < 50 && copied != log; ++i, std::this_thread::sleep_for(100ms)) copied = test::Clipboard();
  EXPECT_EQ(copied, log);
  EXPECT_FALSE(report.Returned(200ms));
  test::Keys(window, "alt+i");
  report.Join();
  EXPECT_EQ(choice, choice::kIgnore);
  EXPECT_EQ(test::Clipboard(), log) << "the clipboard lost the text with the window";
}

// Closing the window is no choice: the thread's last choice stands, 0
// before the first.
TEST_F(ReportWindowTest, ClosingWithoutAChoiceLeavesTheLastChoice) {
  std::vector<Long> choices;
  Caller reports([&] {
    for (int i = 0; i < 3; ++i) choices.push_back(ErrorManager().DysplayMessage("Module1", "Sub Probe"));
  });
  for (const char* answer : {"close", "alt+r", "close"}) {
    std::string window = test::WindowOf("jotwell-report");
    if (answer == std::string("close")) EXPECT_TRUE(test::SendCloseRequest(window));
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
  struct Calls {
    std::atomic<Long>& outer;
    std::atomic<Long>& nested;
    GMainLoop* loop;
  };
  Caller host([&] {
    Calls calls{outer, nested, g_main_loop_new(nullptr, FALSE)};
    g_timeout_add(300, [](gpointer data) -> gboolean {
      static_cast<Calls*>(data)->nested = ErrorManager().DysplayMessage("Module1", "Sub Nested");
      return G_SOURCE_REMOVE;
    }, &calls);
    g_idle_add([](gpointer data) -> gboolean {
      auto* calls = static_cast<Calls*>(data);
      calls->outer = ErrorManager().DysplayMessage("Module1", "Sub Outer");
      g_main_loop_quit(calls->loop);
      return G_SOURCE_REMOVE;
    }, &calls);
    g_main_loop_run(calls.loop);
    g_main_loop_unref(calls.loop);
  });
  std::string window = test::WindowOf("jotwell-report");
  for (int i = 0; i < 100 && nested == -1; ++i) std::this_thread::sleep_for(50ms);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(outer, -1);
  test::ClickAt(window, kCopyButton.x, kCopyButton.y);
  std::string copied;
  for (int i = 0; i < 50 && copied.find("Sub Nested") == std::string::npos; ++i, std::this_thread::sleep_for(100ms))
    copied = test::Clipboard();
  EXPECT_THAT(copied, HasSubstr("Procedure [Sub Nested] in Module [Module1]"));
  test::Keys(window, "alt+i");
  host.Join();
  EXPECT_EQ(outer, choice::kIgnore);
}

TEST_F(ReportWindowTest, AReportOfTenThousandLinesOfAnyBytesIsShownWithoutHarm) {
  String big;
  for (int i = 0; i < 10000; ++i) big += "line " + std::to_string(i) + " \0 \xFF\xFE\xC3 \r\n"s;
  Integer choice = 0;
  Caller probe([&] {
    RunTraced(kProbe, [&](Registrations& r) { r.Arguments({{"Big", big}}); },
              [&](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kPathNotFound); }); });
    choice = ErrorManager().UserChoice();
  });
  std::string window = test::WindowOf("jotwell-report");
  int agent = platform::agent::AgentLink::Instance().AgentId();
  test::Keys(window, "alt+i");
  probe.Join();
  EXPECT_EQ(choice, choice::kIgnore);
  EXPECT_EQ(platform::agent::AgentLink::Instance().AgentId(), agent) << "the agent did not survive";
  EXPECT_THAT(test::ReadFile(ErrorLog()), HasSubstr(big.substr(0, 200)));
}

}  // namespace
}  // namespace jotwell
