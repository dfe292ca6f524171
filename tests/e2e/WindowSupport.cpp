#include "e2e/WindowSupport.h"

#include <glib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "jotwell/Desktop.h"

namespace jotwell::test {

std::string Run(const std::string& command, int limitSeconds) {
  std::string wrapped = "timeout -s KILL " + std::to_string(limitSeconds) + " " + command;
  std::FILE* pipe = ::popen(wrapped.c_str(), "r");
  std::string output;
  char chunk[65536];
  for (size_t n; pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  if (pipe) ::pclose(pipe);
  return output;
}

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  for (auto deadline = std::chrono::steady_clock::now() + limit;; std::this_thread::sleep_for(50ms)) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
  }
}

// Xvfb picks a free display number and prints it once it accepts
// connections; the shell prints Xvfb's process id first, and Xvfb comes to
// this process, its subreaper, to be reaped when it ends. Without -noreset
// the server starts afresh whenever its last client leaves, and a client
// connecting meanwhile (the agent, after an xdotool) is turned away.
VirtualDisplay::VirtualDisplay() {
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  std::FILE* out = ::popen("Xvfb -displayfd 1 -noreset -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo $!", "r");
  int number = -1;
  if (out) std::fscanf(out, "%d %d", &pid_, &number), ::pclose(out);
  if (number < 0) throw std::runtime_error("Xvfb did not start");
  display_.emplace("DISPLAY", ":" + std::to_string(number));
}

VirtualDisplay::~VirtualDisplay() {
  if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
}

// The idle source runs `work` once and ends the loop; the timer source
// ends itself when `timer` returns false, so it is removed only if it lives.
void OnMainLoop(const std::function<void()>& work, std::chrono::milliseconds period,
                const std::function<bool()>& timer) {
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  std::function<gboolean()> once = [&] { return work(), g_main_loop_quit(loop), G_SOURCE_REMOVE; };
  std::function<gboolean()> tick = [&] { return gboolean(timer()); };
  auto call = [](gpointer source) { return (*static_cast<std::function<gboolean()>*>(source))(); };
  guint ticking = g_timeout_add(static_cast<guint>(period.count()), call, &tick);
  g_idle_add(call, &once);
  g_main_loop_run(loop);
  if (GSource* source = g_main_context_find_source_by_id(nullptr, ticking)) g_source_destroy(source);
  g_main_loop_unref(loop);
}

std::vector<std::string> WindowsOf(const std::string& kind, size_t count) {
  std::vector<std::string> windows;
  bool found = Eventually([&] {
    std::string listed = Run("xdotool search --onlyvisible --classname '^" + kind + "$'");
    windows.clear();
    for (size_t start = 0, end; (end = listed.find('\n', start)) != std::string::npos; start = end + 1)
      windows.push_back(listed.substr(start, end - start));
    return windows.size() >= count;
  });
  EXPECT_TRUE(found) << "no window " << kind;
  windows.resize(std::max(windows.size(), count), "0");
  return windows;
}

bool Gone(const std::string& window) {
  return Eventually([&] {
    return Run("xdotool search --onlyvisible --classname '^jotwell-'").find(window + "\n") == std::string::npos;
  });
}

void Keys(const std::string& window, const std::string& keys) {
  Run("xdotool windowfocus --sync " + window + " key --delay 50 " + keys);
}

namespace {

// Not mousemove --sync: it waits forever when the pointer is there already.
std::string MoveTo(const std::string& window, Point at) {
  return " mousemove --window " + window + " " + std::to_string(at.x) + " " + std::to_string(at.y);
}

}  // namespace

void ClickAt(const std::string& window, Point at, int clicks) {
  Run("xdotool" + MoveTo(window, at) + " click --repeat " + std::to_string(clicks) +
      " --delay 80 1");
}

void Drag(const std::string& window, Point from, Point to) {
  Run("xdotool" + MoveTo(window, from) + " mousedown 1" + MoveTo(window, to) + " mouseup 1");
}

std::string Clipboard() { return Run("xclip -o -selection clipboard"); }

void Screenshot(const std::string& window, const std::string& name) {
  std::filesystem::create_directories(JOTWELL_SCREENSHOTS);
  Run("import -window " + window + " " JOTWELL_SCREENSHOTS "/" + name + ".png");
}

void WindowsTest::SetUp() {
  std::filesystem::create_symlink(JOTWELL_AGENT, dir.File("jotwell-desktop"));
}

void WindowsTest::MoveAgent(const std::string& to) {
  std::filesystem::remove(dir.File("jotwell-desktop"));
  std::filesystem::create_directories(std::filesystem::path(dir.File(library)).parent_path());
  if (to.empty()) return;
  std::filesystem::create_directories(std::filesystem::path(dir.File(to)).parent_path());
  std::filesystem::create_symlink(JOTWELL_AGENT, dir.File(to));
}

}  // namespace jotwell::test
