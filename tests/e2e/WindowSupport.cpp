#include "e2e/WindowSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "jotwell/Desktop.h"

extern char** environ;

namespace jotwell::test {

using namespace std::chrono_literals;

std::string Run(const std::string& command, int limitSeconds) {
  std::string wrapped = "timeout -s KILL " + std::to_string(limitSeconds) + " " + command;
  std::FILE* pipe = ::popen(wrapped.c_str(), "r");
  if (!pipe) return {};
  std::string output;
  char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  ::pclose(pipe);
  return output;
}

namespace {

// Starts Xvfb on a display number it picks itself; the number once it
// accepts connections, or -1.
int StartXvfb(int& pid) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  std::string fd = std::to_string(ready[1]);
  const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                        "-nolisten", "tcp", nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, ready[0]);
  if (::posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(ready[1]);
  std::string number;
  char byte;
  while (pid && ::read(ready[0], &byte, 1) == 1 && byte != '\n') number += byte;
  ::close(ready[0]);
  return number.empty() ? -1 : std::stoi(number);
}

// Xvfb servers starting and ending side by side now and then leave a new
// one announced but unreachable: such a one is replaced.
bool Answers(const std::string& display) {
  for (int i = 0; i < 20; ++i, std::this_thread::sleep_for(50ms))
    if (DisplayAnswers(display)) return true;
  return false;
}

void Stop(int pid) {
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    int pid = 0;
    int number = StartXvfb(pid);
    if (number >= 0 && Answers(":" + std::to_string(number))) {
      pid_ = pid;
      display_.emplace("DISPLAY", ":" + std::to_string(number));
      return;
    }
    if (pid) Stop(pid);
  }
  throw std::runtime_error("Xvfb did not start");
}

VirtualDisplay::~VirtualDisplay() {
  if (pid_) Stop(pid_);
}

void Caller::Join() {
  ASSERT_TRUE(Returned(20s)) << "the call did not return";
  done_.get();
}

std::vector<std::string> WindowsOf(const std::string& kind, size_t count) {
  for (auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;
       std::this_thread::sleep_for(50ms)) {
    std::string listed = Run("xdotool search --onlyvisible --classname '^" + kind + "$'");
    std::vector<std::string> windows;
    for (size_t start = 0, end; (end = listed.find('\n', start)) != std::string::npos; start = end + 1)
      windows.push_back(listed.substr(start, end - start));
    if (windows.size() >= count) return windows;
  }
  ADD_FAILURE() << "no window " << kind;
  return std::vector<std::string>(count, "0");
}

bool Gone(const std::string& window) {
  for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(50ms))
    if (Run("xdotool search --onlyvisible --classname '^jotwell-'").find(window + "\n") == std::string::npos)
      return true;
  return false;
}

void Keys(const std::string& window, const std::string& keys) {
  Run("xdotool windowfocus --sync " + window + " key --delay 50 " + keys);
}

void ClickAt(const std::string& window, int x, int y, int clicks) {
  // Not --sync: it waits forever when the pointer is there already.
  Run("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
      " click --repeat " + std::to_string(clicks) + " --delay 80 1");
}

std::string Clipboard() { return Run("xclip -o -selection clipboard"); }

void Screenshot(const std::string& window, const std::string& name) {
  std::filesystem::create_directories(JOTWELL_SCREENSHOTS);
  Run("import -window " + window + " " JOTWELL_SCREENSHOTS "/" + name + ".png");
}

void WindowsTest::SetUp() {
  std::filesystem::create_symlink(JOTWELL_AGENT, dir.File("jotwell-desktop"));
  platform::Group<platform::ComponentFile>::Install(this);
  SetDesktop(nullptr);
}

void WindowsTest::TearDown() { platform::Group<platform::ComponentFile>::Install(nullptr); }

void WindowsTest::RemoveAgent() { std::filesystem::remove(dir.File("jotwell-desktop")); }

}  // namespace jotwell::test
