// How fast the windows come: from a request to its window mapped on the
// display (the first in the process, which starts the desktop agent, and
// later ones), and from a key press to the message box's answer. The
// baseline, measured in the same run on the same display, is a bare Xlib
// window: mapped by a plain client, and a key press reaching it.
//
// Runs on $DISPLAY, or on an Xvfb of its own when none is named.
// First: Xlib's True and False macros would spoil the library's names.
#include "jotwell/Desktop.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 15;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void StartOwnDisplay() {
  int ready[2];
  if (::pipe(ready) != 0) return;
  std::string fd = std::to_string(ready[1]);
  const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                        "-nolisten", "tcp", nullptr};
  pid_t pid;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, ready[0]);
  if (::posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0) return;
  ::close(ready[1]);
  std::string number;
  for (char byte; ::read(ready[0], &byte, 1) == 1 && byte != '\n';) number += byte;
  ::setenv("DISPLAY", (":" + number).c_str(), 1);
}

// Watches the display for new top-level windows.
class Watcher {
 public:
  Watcher() : display_(XOpenDisplay(nullptr)) {
    if (!display_) {
      std::fprintf(stderr, "window_latency_bench: no display\n");
      std::exit(1);
    }
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  Display* display() const { return display_; }

  Window NextMapped() {
    for (XEvent event;;) {
      XNextEvent(display_, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) return event.xmap.window;
    }
  }

  void PressKey(Window window, KeySym key) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }

 private:
  Display* display_;
};

struct Times {
  double mapped, answered;
};

Times MessageBoxRound(Watcher& watcher) {
  Clock::time_point asked = Clock::now();
  std::thread box([] {
    jotwell::CurrentDesktop()->ShowMessageBox("Jotwell.dll version 1.1.5", {"Latency"},
                                              jotwell::MessageIcon::Information);
  });
  Window window = watcher.NextMapped();
  Clock::time_point mapped = Clock::now();
  watcher.PressKey(window, XK_Return);
  box.join();
  return {Milliseconds(mapped - asked), Milliseconds(Clock::now() - mapped)};
}

Times BareWindowRound(Watcher& watcher) {
  Display* client = XOpenDisplay(nullptr);
  Clock::time_point asked = Clock::now();
  Window window = XCreateSimpleWindow(client, DefaultRootWindow(client), 0, 0, 200, 100, 0, 0, 0);
  XSelectInput(client, window, KeyPressMask);
  XMapWindow(client, window);
  XFlush(client);
  watcher.NextMapped();
  Clock::time_point mapped = Clock::now();
  watcher.PressKey(window, XK_Return);
  for (XEvent event; XNextEvent(client, &event), event.type != KeyPress;) {}
  Clock::time_point answered = Clock::now();
  XCloseDisplay(client);
  return {Milliseconds(mapped - asked), Milliseconds(answered - mapped)};
}

}  // namespace

int main() {
  if (!std::getenv("DISPLAY")) StartOwnDisplay();
  Watcher watcher;
  Times bareFirst = BareWindowRound(watcher);
  Times first = MessageBoxRound(watcher);
  std::vector<double> mapped, answered, bareMapped, bareAnswered;
  for (int round = 0; round < kRounds; ++round) {
    Times agent = MessageBoxRound(watcher), bare = BareWindowRound(watcher);
    mapped.push_back(agent.mapped), answered.push_back(agent.answered);
    bareMapped.push_back(bare.mapped), bareAnswered.push_back(bare.answered);
  }
  double base = Median(bareMapped), keyBase = Median(bareAnswered);
  std::printf("baseline: bare Xlib window mapped %.2f ms (first %.2f ms), key press delivered %.2f ms\n",
              base, bareFirst.mapped, keyBase);
  std::printf("first window (starts the agent): %8.1f ms  target < 1000 ms  ratio %6.0fx\n",
              first.mapped, first.mapped / base);
  std::printf("later windows (median of %d):     %8.1f ms  target <  300 ms  ratio %6.0fx\n", kRounds,
              Median(mapped), Median(mapped) / base);
  std::printf("key press to answered box:       %8.1f ms                    ratio %6.0fx\n",
              Median(answered), Median(answered) / keyBase);
  return 0;
}
