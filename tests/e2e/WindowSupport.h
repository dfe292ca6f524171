// Real windows for the end-to-end tests: a display of the test's own, the
// real agent, and the user's hands (xdotool) and clipboard (xclip).
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "platform/agent/AgentLink.h"
#include "support/ReportSupport.h"

// Every window test speaks in times and bytes.
using namespace std::chrono_literals;
using namespace std::string_literals;

namespace jotwell::test {

// The running agent's process id, 0 when none runs.
inline int AgentId() { return platform::agent::AgentLink::Instance().AgentId(); }
// A command's standard output, byte for byte; it is killed after `limit`.
std::string Run(const std::string& command, int limitSeconds = 10);
// Whether `condition` holds within `limit`, asking every 50 ms.
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s);

// An Xvfb display started for this test alone (it picks a free number),
// named in DISPLAY until the test ends.
struct VirtualDisplay {
  VirtualDisplay();
  ~VirtualDisplay();
  int pid_ = 0;
  std::optional<ScopedEnv> display_;
};

// Work on another thread, as a host's thread calling the library.
struct Caller {
  explicit Caller(std::function<void()> work) : done_(std::async(std::launch::async, std::move(work))) {}
  bool Returned(std::chrono::milliseconds within = 0ms) { return done_.wait_for(within) == std::future_status::ready; }
  // Waits for the work to end; fails the test when it does not in time.
  void Join() { ASSERT_TRUE(Returned(20s)) << "the call did not return"; }
  std::future<void> done_;
};

// Runs `work` from a GLib main loop of the calling thread, which owns the
// default main context, as a GTK host's main thread does; `timer` runs
// every `period` while it returns true.
void OnMainLoop(const std::function<void()>& work, std::chrono::milliseconds period,
                const std::function<bool()>& timer);

// The visible windows of a kind ("jotwell-box", "jotwell-report",
// "jotwell-about"), waiting until there are `count` of them.
std::vector<std::string> WindowsOf(const std::string& kind, size_t count = 1);
inline std::string WindowOf(const std::string& kind) { return WindowsOf(kind).at(0); }
bool Gone(const std::string& window);

// Keys as xdotool names them ("Return", "alt+r", "a"), to the window.
void Keys(const std::string& window, const std::string& keys);
// Clicks (1, or 2 for a double-click) at a point of the window, in pixels.
struct Point {
  int x, y;
};
void ClickAt(const std::string& window, Point at, int clicks = 1);
// Presses at `from`, moves to `to` and releases there.
void Drag(const std::string& window, Point from, Point to);
// The middle of the box around the clearly blue pixels of the `size` ×
// `size` square at `corner` of the window, as drawn on the display.
Point MiddleOfBlue(const std::string& window, Point corner, int size);
// What a window manager's close button sends; false when it could not.
bool SendCloseRequest(const std::string& window);
std::string Clipboard();
// Keeps a picture of the window under the build tree's screenshots/.
void Screenshot(const std::string& window, const std::string& name);

// The library's windows on the test's own display, with the real agent,
// and a library folder of the test's own (for the error log) with the
// agent beside it, as in the build tree.
class WindowsTest : public ::testing::Test, public platform::ForwardingComponentFile {
 protected:
  void SetUp() override;
  String LibraryPath() override { return dir.File(library); }
  // Puts the agent where an installed library (`library`) looks for it.
  void MoveAgent(const std::string& to);

  TempDir dir;
  VirtualDisplay display;
  std::string library = "libjotwell.so";
  ScopedInstall<platform::ComponentFile> installed{*this};
  ScopedDesktop defaultDesktop{nullptr};
};

}  // namespace jotwell::test
