// The agent's life: started on first need, one per process, started again
// after a crash, given up for headless when it cannot start; it shares
// nothing with the host but its socket, the host never maps the toolkit,
// and a host's own main loop keeps running under a modal box.

#include <fcntl.h>
#include <glib.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "e2e/WindowSupport.h"
#include "platform/agent/AgentLink.h"

namespace jotwell {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using test::Caller;

int AgentId() { return platform::agent::AgentLink::Instance().AgentId(); }

void ShowWarningBox() {
  CurrentDesktop()->ShowMessageBox("Jotwell.dll version 1.1.5", {"Warning!", "Disk nearly full"},
                                   MessageIcon::Critical);
}

class AgentTest : public test::WindowsTest {};

TEST_F(AgentTest, AMessageBoxWaitsForOkAndTheHostMapsNoToolkit) {
  Caller box(ShowWarningBox);
  std::string window = test::WindowOf("jotwell-box");
  test::Screenshot(window, "message-box");
  EXPECT_FALSE(box.Returned(300ms));
  test::Keys(window, "Return");
  box.Join();
  EXPECT_TRUE(test::Gone(window));
  std::string maps = test::ReadFile("/proc/self/maps");
  EXPECT_THAT(maps, Not(HasSubstr("libgtk")));
  EXPECT_THAT(maps, Not(HasSubstr("libgdk")));
}

TEST_F(AgentTest, AnAgentKilledUnderAReportAnswersAbortAndTheNextCallStartsAnother) {
  Long choice = 0;
  Caller report([&] { choice = ErrorManager().DysplayMessage("Module1", "Sub Probe"); });
  test::WindowOf("jotwell-report");
  int first = AgentId();
  ASSERT_GT(first, 0);
  ::kill(first, SIGKILL);
  report.Join();
  EXPECT_EQ(choice, choice::kAbort);
  Caller box(ShowWarningBox);
  test::Keys(test::WindowOf("jotwell-box"), "Return");
  box.Join();
  EXPECT_NE(AgentId(), first);
}

TEST_F(AgentTest, TheAgentHoldsNoDescriptorOfTheHostButItsSocket) {
  std::string marker = dir.File("marker");
  int inheritable = ::open(marker.c_str(), O_CREAT | O_RDWR, 0600);  // no O_CLOEXEC
  CurrentDesktop()->Beep();
  int agent = AgentId();
  ASSERT_GT(agent, 0);
  std::string folder = "/proc/" + std::to_string(agent) + "/fd";
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_NE(std::filesystem::read_symlink(entry.path()).string(), marker);
  EXPECT_THAT(std::filesystem::read_symlink(folder + "/0").string(), HasSubstr("socket:"));
  ::close(inheritable);
}

// The thread that owns the default main context keeps dispatching it
// while it waits for the box.
TEST_F(AgentTest, AHostMainLoopKeepsRunningWhileABoxIsOpen) {
  std::atomic<int> ticks{0};
  Caller host([&] {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    guint timer = g_timeout_add(20, [](gpointer count) -> gboolean {
      ++*static_cast<std::atomic<int>*>(count);
      return G_SOURCE_CONTINUE;
    }, &ticks);
    g_idle_add([](gpointer loop) -> gboolean {
      ShowWarningBox();
      g_main_loop_quit(static_cast<GMainLoop*>(loop));
      return G_SOURCE_REMOVE;
    }, loop);
    g_main_loop_run(loop);
    g_source_remove(timer);
    g_main_loop_unref(loop);
  });
  std::string window = test::WindowOf("jotwell-box");
  int before = ticks;
  std::this_thread::sleep_for(500ms);
  EXPECT_GT(ticks, before + 3);
  test::Keys(window, "Return");
  host.Join();
}

// Without an agent every call is served headless, at once.
enum class NoAgent { NoDisplayNamed, DisplayUnreachable, ProgramMissing, ProgramFails };

class NoAgentTest : public AgentTest, public ::testing::WithParamInterface<NoAgent> {};

std::string NameOf(const ::testing::TestParamInfo<NoAgent>& info) {
  static const char* const kNames[] = {"NoDisplayNamed", "DisplayUnreachable", "ProgramMissing",
                                       "ProgramFails"};
  return kNames[static_cast<int>(info.param)];
}

TEST_P(NoAgentTest, CallsFallBackToHeadless) {
  std::optional<test::ScopedEnv> display;
  switch (GetParam()) {
    case NoAgent::NoDisplayNamed: display.emplace("DISPLAY", ""); break;
    case NoAgent::DisplayUnreachable: display.emplace("DISPLAY", ":65000"); break;
    case NoAgent::ProgramMissing: RemoveAgent(); break;
    case NoAgent::ProgramFails:
      RemoveAgent();
      std::filesystem::create_symlink("/bin/false", dir.File("jotwell-desktop"));
      break;
  }
  ::testing::internal::CaptureStderr();
  Long choice = 0;
  Caller calls([&] {
    ShowWarningBox();
    choice = ErrorManager().DysplayMessage("Module1", "Sub Probe");
    CurrentDesktop()->PlayExclamation();
  });
  calls.Join();
  std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(choice, choice::kAbort);
  EXPECT_THAT(printed, HasSubstr("Disk nearly full"));
  EXPECT_THAT(printed, HasSubstr("Procedure [Sub Probe] in Module [Module1]"));
  EXPECT_EQ(AgentId(), 0);
}

INSTANTIATE_TEST_SUITE_P(Each, NoAgentTest,
                         ::testing::Values(NoAgent::NoDisplayNamed, NoAgent::DisplayUnreachable,
                                           NoAgent::ProgramMissing, NoAgent::ProgramFails),
                         NameOf);

}  // namespace
}  // namespace jotwell
