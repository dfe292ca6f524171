// Real windows for the end-to-end tests: a display of the test's own, the
// real agent, and the user's hands (xdotool) and clipboard (xclip).
#pragma once

#include <glib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/agent/AgentLink.h"
#include "support/Eventually.h"
#include "support/ReportSupport.h"

namespace jotwell::test {

// The running agent's process id, 0 when none runs.
inline int AgentId() { return platform::agent::AgentLink::Instance().AgentId(); }

// A command's standard output, byte for byte; it is killed after ten seconds.
inline std::string Run(const std::string& command) {
  std::FILE* pipe = ::popen(("timeout -s KILL 10 " + command).c_str(), "r");
  std::string output;
  char chunk[65536];
  for (size_t n; pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    output.append(chunk, n);
  if (pipe) ::pclose(pipe);
  return output;
}

// An Xvfb display started for this test alone, named in DISPLAY until the
// test ends. Xvfb picks a free display number and prints it once it accepts
// connections; the shell prints Xvfb's process id first, and Xvfb comes to
// this process, its subreaper, to be reaped when it ends. Without -noreset
// the server starts afresh whenever its last client leaves, and a client
// connecting meanwhile (the agent, after an xdotool) is turned away.
struct VirtualDisplay {
  ~VirtualDisplay() {
    if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
  }
  // Starts Xvfb; its display's name.
  std::string Start() {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::FILE* out = ::popen(
        "Xvfb -displayfd 1 -noreset -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo $!",
        "r");
    int number = -1;
    if (out) std::fscanf(out, "%d %d", &pid_, &number), ::pclose(out);
    if (number < 0) throw std::runtime_error("Xvfb did not start");
    return ":" + std::to_string(number);
  }
  int pid_ = 0;
  ScopedEnv display_{"DISPLAY", Start()};
};

// Runs `work` from a GLib main loop of the calling thread, which owns the
// default main context, as a GTK host's main thread does; `timer` runs
// every `period` while it returns true. The idle source runs `work` once and
// ends the loop; the timer source ends itself when `timer` returns false, so
// it is removed only if it lives.
inline void OnMainLoop(const std::function<void()>& work, std::chrono::milliseconds period,
                       const std::function<bool()>& timer) {
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  std::function<gboolean()> once = [&] { return work(), g_main_loop_quit(loop), G_SOURCE_REMOVE; };
  std::function<gboolean()> tick = [&] { return gboolean(timer()); };
  auto call = [](gpointer source) { return (*static_cast<std::function<gboolean()>*>(source))(); };
  guint ticking = g_timeout_add(static_cast<guint>(period.count()), call, &tick);
  g_idle_add(call, &once);
  g_main_loop_run(loop);
  if (GSource* source = g_main_context_find_source_by_id(nullptr, ticking))
    g_source_destroy(source);
  g_main_loop_unref(loop);
}

// The lines of `text`, each ended by a newline.
inline Lines LinesOf(const std::string& text) {
  Lines lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}
// The visible windows of a kind ("jotwell-box", "jotwell-report",
// "jotwell-about"; "jotwell-.*" for all).
inline Lines Visible(const std::string& kind) {
  return LinesOf(Run("xdotool search --onlyvisible --classname '^" + kind + "$'"));
}
// Those windows once there are `count` of them.
inline Lines WindowsOf(const std::string& kind, size_t count = 1) {
  Lines windows;
  bool found = Eventually([&] { return (windows = Visible(kind)).size() >= count; });
  EXPECT_TRUE(found) << "no window " << kind;
  windows.resize(std::max(windows.size(), count), "0");
  return windows;
}
inline std::string WindowOf(const std::string& kind) { return WindowsOf(kind).at(0); }
inline bool Gone(const std::string& window) {
  return Eventually([&] { return std::ranges::count(Visible("jotwell-.*"), window) == 0; });
}

// Keys as xdotool names them ("Return", "alt+r", "a"), to the window.
inline void Keys(const std::string& window, const std::string& keys) {
  Run("xdotool windowfocus --sync " + window + " key --delay 50 " + keys);
}
// A point of a window, in pixels. Not mousemove --sync to it: that waits
// forever when the pointer is there already.
struct Point {
  int x, y;
  std::string MoveIn(const std::string& window) const {
    return " mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y);
  }
};
// Clicks (1, or 2 for a double-click) at a point of the window.
inline void ClickAt(const std::string& window, Point at, int clicks = 1) {
  Run("xdotool" + at.MoveIn(window) + " click --repeat " + std::to_string(clicks) +
      " --delay 80 1");
}
// Presses at `from`, moves to `to` and releases there.
inline void Drag(const std::string& window, Point from, Point to) {
  Run("xdotool" + from.MoveIn(window) + " mousedown 1" + to.MoveIn(window) + " mouseup 1");
}
// The middle of the box around the clearly blue pixels of the `size` ×
// `size` square at `corner` of the window, as drawn on the display.
Point MiddleOfBlue(const std::string& window, Point corner, int size);
// What a window manager's close button sends; false when it could not.
bool SendCloseRequest(const std::string& window);
inline std::string Clipboard() { return Run("xclip -o -selection clipboard"); }
// Keeps a picture of the window under the build tree's screenshots/.
inline void Screenshot(const std::string& window, const std::string& name) {
  std::filesystem::create_directories(JOTWELL_SCREENSHOTS);
  Run("import -window " + window + " " JOTWELL_SCREENSHOTS "/" + name + ".png");
}

// The library's windows on the test's own display, with the real agent,
// and a library folder of the test's own (for the error log) with the
// agent beside it, as in the build tree.
class WindowsTest : public ::testing::Test, public platform::ForwardingComponentFile {
 protected:
  void SetUp() override {
    std::filesystem::create_symlink(JOTWELL_AGENT, dir.File("jotwell-desktop"));
  }
  String LibraryPath() override { return dir.File(library); }
  // Puts the agent where an installed library (`library`) looks for it,
  // nowhere for "".
  void MoveAgent(const std::string& to) {
    std::filesystem::remove(dir.File("jotwell-desktop"));
    std::filesystem::create_directories(std::filesystem::path(dir.File(library)).parent_path());
    if (to.empty()) return;
    std::filesystem::create_directories(std::filesystem::path(dir.File(to)).parent_path());
    std::filesystem::create_symlink(JOTWELL_AGENT, dir.File(to));
  }

  TempDir dir;
  VirtualDisplay display;
  std::string library = "libjotwell.so";
  ScopedInstall<platform::ComponentFile> installed{*this};
  ScopedDesktop defaultDesktop{nullptr};
};

}  // namespace jotwell::test
