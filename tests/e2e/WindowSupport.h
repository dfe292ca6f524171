// Real windows for the end-to-end tests: a display of the test's own, the
// real agent, and the user's hands (xdotool) and clipboard (xclip).
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "support/ReportSupport.h"

namespace jotwell::test {

// A command's standard output, byte for byte; it is killed after `limit`.
std::string Run(const std::string& command, int limitSeconds = 10);

// An Xvfb display started for this test alone (it picks a free number),
// named in DISPLAY until the test ends.
class VirtualDisplay {
 public:
  VirtualDisplay();
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

 private:
  int pid_ = 0;
  std::optional<ScopedEnv> display_;
};

// Work on another thread, as a host's thread calling the library.
class Caller {
 public:
  explicit Caller(std::function<void()> work) : done_(std::async(std::launch::async, std::move(work))) {}
  ~Caller() { if (done_.valid()) done_.wait(); }
  bool Returned(std::chrono::milliseconds within = std::chrono::milliseconds(0)) {
    return done_.wait_for(within) == std::future_status::ready;
  }
  // Waits for the work to end; fails the test when it does not in time.
  void Join();

 private:
  std::future<void> done_;
};

// The visible windows of a kind ("jotwell-box", "jotwell-report",
// "jotwell-about"), waiting until there are `count` of them.
std::vector<std::string> WindowsOf(const std::string& kind, size_t count = 1);
inline std::string WindowOf(const std::string& kind) { return WindowsOf(kind).at(0); }
bool Gone(const std::string& window);

// Keys as xdotool names them ("Return", "alt+r", "a"), to the focus.
void Keys(const std::string& window, const std::string& keys);
// Clicks (1, or 2 for a double-click) at a point of the window, in pixels.
void ClickAt(const std::string& window, int x, int y, int clicks = 1);
// What the window manager's close button asks for; false when it could
// not be sent.
bool SendCloseRequest(const std::string& window);
bool DisplayAnswers(const std::string& display);
std::string Clipboard();
// Keeps a picture of the window under the build tree's screenshots/.
void Screenshot(const std::string& window, const std::string& name);

// The library's windows on the test's own display, with the real agent,
// and a library folder of the test's own for the error log; the agent is
// found beside it as in the build tree.
class WindowsTest : public ::testing::Test, public platform::ForwardingComponentFile {
 protected:
  void SetUp() override;
  void TearDown() override;
  String LibraryPath() override { return dir.File("libjotwell.so"); }
  // Hides the agent from the library.
  void RemoveAgent();

  TempDir dir;
  VirtualDisplay display;
};

}  // namespace jotwell::test
