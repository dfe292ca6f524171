// The agent's life: found beside the library or in an installed tree,
// started on first need, started again after a crash, given up for
// headless when it cannot start; it holds nothing of the host but its
// socket, the host never maps the toolkit, and a host's own main loop
// keeps running under a modal box.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "base/LibraryFacts.h"
#include "e2e/WindowSupport.h"
#include "jotwell/JotBook.h"
#include "support/Children.h"

namespace jotwell {
namespace {

using test::Caller;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

void ShowWarningBox() {
  CurrentDesktop()->ShowMessageBox("Jotwell.dll version 1.1.5", {"Warning!", "Disk nearly full"}, MessageIcon::Critical);
}

class AgentTest : public test::WindowsTest {};

// What the agent leaves on the screen falls back to its headless form: the
// report is answered Abort, the box goes to standard error.
TEST_F(AgentTest, AnAgentKilledUnderAWindowFallsBackToHeadlessAndTheNextCallStartsAnother) {
  ::testing::internal::CaptureStderr();
  Long choice = 0;
  Caller report([&] { choice = ErrorManager().DysplayMessage("Module1", "Sub Probe"); });
  test::WindowOf("jotwell-report");
  int first = test::AgentId();
  ::kill(first, SIGKILL);
  report.Join();
  EXPECT_EQ(choice, choice::kAbort);
  Caller box(ShowWarningBox);
  test::WindowOf("jotwell-box");
  int second = test::AgentId();
  ::kill(second, SIGKILL);
  box.Join();
  EXPECT_THAT(::testing::internal::GetCapturedStderr(), HasSubstr("Disk nearly full"));
  EXPECT_TRUE(first > 0 && second > 0 && second != first) << first << ", " << second;
}

// A forked child, too, starts an agent of its own; the parent keeps its.
TEST_F(AgentTest, TheAgentHoldsNoDescriptorOfTheHostButItsSocketAndAForkedChildStartsItsOwn) {
  std::string marker = dir.File("marker");
  int inheritable = ::open(marker.c_str(), O_CREAT | O_RDWR, 0600);  // no O_CLOEXEC
  CurrentDesktop()->Beep();
  int parents = test::AgentId();
  std::string folder = "/proc/" + std::to_string(parents) + "/fd";
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_NE(std::filesystem::read_symlink(entry.path()).string(), marker);
  EXPECT_THAT(std::filesystem::read_symlink(folder + "/0").string(), HasSubstr("socket:"));
  ::close(inheritable);
  auto own = [&] { return CurrentDesktop()->Beep(), std::to_string(test::AgentId() != parents && test::AgentId() != 0); };
  EXPECT_EQ(test::InChild(own), "1");
  EXPECT_EQ(test::AgentId(), parents);
}

// The thread that owns the default main context, as a GTK host's main
// thread does, keeps dispatching it while the box waits for OK.
TEST_F(AgentTest, AMessageBoxWaitsForOkWhileAHostMainLoopRunsAndTheHostMapsNoToolkit) {
  std::atomic<int> ticks{0};
  Caller host([&] { test::OnMainLoop(ShowWarningBox, 20ms, [&] { return ++ticks, true; }); });
  std::string window = test::WindowOf("jotwell-box");
  test::Screenshot(window, "message-box");
  int before = ticks;
  std::this_thread::sleep_for(500ms);
  EXPECT_GT(ticks, before + 3);
  EXPECT_FALSE(host.Returned());
  test::Keys(window, "Return");
  host.Join();
  EXPECT_TRUE(test::Gone(window));
  EXPECT_THAT(test::ReadFile("/proc/self/maps"), Not(ContainsRegex("libgtk|libgdk")));
}

// Where the library looks for the agent, and what it does without one:
// every call is served headless, at once, after one line on standard
// error that says why (`why`, nullptr where the agent runs); the About
// window closes without a word.
// The agent's path "" for none, the display nullptr for the test's own.
struct Place {
  const char *name, *library, *agent, *display, *why;
  bool executable = true;
};

void PrintTo(const Place& place, std::ostream* out) { *out << place.name; }

class AgentPlaceTest : public AgentTest, public ::testing::WithParamInterface<Place> {};

TEST_P(AgentPlaceTest, TheAgentRunsOrCallsFallBackToHeadlessSayingWhyOnce) {
  const Place& place = GetParam();
  library = place.library;
  MoveAgent(place.executable ? place.agent : "");
  if (!place.executable) test::WriteFile(dir.File(place.agent), "#!/bin/sh\n");
  test::ScopedEnv display("DISPLAY", place.display ? place.display : std::getenv("DISPLAY"));
  ::testing::internal::CaptureStderr();
  CurrentDesktop()->PlayExclamation();
  ASSERT_EQ(test::AgentId() == 0, place.why != nullptr) << ::testing::internal::GetCapturedStderr();
  if (!place.why) return (void)::testing::internal::GetCapturedStderr();
  Long choice = 0;
  Caller([&] {
    JotBook first;
    ShowWarningBox(), choice = ErrorManager().DysplayMessage("Module1", "Sub Probe");
  }).Join();
  std::string printed = "\n" + ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(choice, choice::kAbort);
  EXPECT_EQ(printed.find("\njotwell: ", printed.find("\njotwell: ") + 1), std::string::npos)
      << printed;
  EXPECT_THAT(printed, ::testing::AllOf(ContainsRegex("\njotwell: [^\n]*"s + place.why),
                                        HasSubstr("Disk nearly full"),
                                        HasSubstr("Procedure [Sub Probe] in Module [Module1]"),
                                        Not(HasSubstr(kMakerName))));
}

INSTANTIATE_TEST_SUITE_P(
    Each, AgentPlaceTest,
    ::testing::ValuesIn(std::vector<Place>{
        {"BesideTheLibrary", "libjotwell.so", "jotwell-desktop", nullptr, nullptr},
        {"Installed", "lib/libjotwell.so", "libexec/jotwell/jotwell-desktop", nullptr, nullptr},
        {"NoDisplayNamed", "libjotwell.so", "jotwell-desktop", "", "no display is named"},
        {"DisplayUnreachable", "libjotwell.so", "jotwell-desktop", ":65000", "open the display"},
        {"Missing", "libjotwell.so", "", nullptr, "no desktop agent"},
        {"InstalledElsewhere", "lib/libjotwell.so", "libexec/jotwell-desktop", nullptr,
         "no desktop agent"},
        {"NotExecutable", "libjotwell.so", "jotwell-desktop", nullptr, "not executable", false}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace jotwell
