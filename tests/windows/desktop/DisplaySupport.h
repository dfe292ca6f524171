// The library's native windows under Wine on a display of the test's own
// (tests/windows/on-display.sh starts it): the windows found by the system,
// and the user's hands (xdotool) and clipboard (xclip), which are Unix
// programs that Wine starts for the test.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>

#include "platform/win32/ScreenLayout.h"
#include "support/Eventually.h"
#include "support/ReportSupport.h"

namespace jotwell::test {

// A Unix command's standard output; it is killed after `limit` seconds.
std::string Unix(const std::string& command, int limitSeconds = 10);

// The visible dialog window titled `title`, once there is one; nullptr
// (and a failed test) when none comes.
HWND DialogTitled(const std::wstring& title);
// A visible top-level window of the calling thread, as a host's own.
HWND HostWindow();
// Whether `window` is gone within a few seconds.
bool Gone(HWND window);

// Points in screen pixels, where xdotool works.
struct Point {
  int x, y;
};
Point MiddleOf(HWND control);
// A point of `window`'s client area.
Point InClient(HWND window, POINT at);
// The middle of the close button on the window's title bar.
Point CloseButtonOf(HWND window);

// Keys as xdotool names them ("Return", "alt+r", "a"), to the window.
void Keys(HWND window, const std::string& keys);
// Clicks (1, or 2 for a double-click).
void ClickAt(Point at, int clicks = 1);
// Presses at `from`, moves to `to` and releases there.
void Drag(Point from, Point to);
// Moves the pointer there and leaves it.
void MoveTo(Point at);
// The X clipboard's text, as another program reads it.
std::string Clipboard();
// Keeps a picture of the window, frame and all, under the build tree's
// screenshots/.
void Screenshot(HWND window, const std::string& name);

// A place in pixels.
struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
void PrintTo(const Box& box, std::ostream* out);
// A control's place in its window's client area; a window's client area.
Box BoxOf(HWND control);
Box ClientAreaOf(HWND window);
// What the control's font was asked for, which WM_GETFONT hands back.
LOGFONTW FontOf(HWND control);
// The text colour and background brush colour the window gives `control`.
struct Colours {
  COLORREF text, background;
};
Colours ColoursOf(HWND window, HWND control);

// The library's windows on the test's display, and a library folder of the
// test's own, for the error log.
class NativeWindowsTest : public ::testing::Test, public platform::ForwardingComponentFile {
 protected:
  String LibraryPath() override { return dir.File("Jotwell.dll"); }
  std::string ErrorLog() const { return ReadFile(dir.File("Jotwell.ErrorLog.txt")); }
  // The screen's dots per inch, as the windows are laid out for it.
  static int Dpi() { return platform::win32::ScreenDpi(); }
  // Pixels at 96 dpi, scaled for the screen's: each edge from its own.
  static int Scaled(int pixels) { return ::MulDiv(pixels, Dpi(), 96); }
  static Box Scaled(const Box& at) {
    return {Scaled(at.left), Scaled(at.top), Scaled(at.left + at.width) - Scaled(at.left),
            Scaled(at.top + at.height) - Scaled(at.top)};
  }

  TempDir dir;
  ScopedInstall<platform::ComponentFile> installed{*this};
  ScopedDesktop defaultDesktop{nullptr};
};

}  // namespace jotwell::test
