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

// A Unix command's standard output; it is killed after ten seconds.
std::string Unix(const std::string& command);

// The visible dialog window titled `title`, once there is one; nullptr
// (and a failed test) when none comes.
inline HWND DialogTitled(const std::wstring& title) {
  HWND found = nullptr;
  Eventually([&] {
    found = ::FindWindowW(L"#32770", title.c_str());
    return found && ::IsWindowVisible(found);
  });
  EXPECT_NE(found, nullptr) << "no window";
  return found;
}
// A visible top-level window of the calling thread, as a host's own.
inline HWND HostWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
}
// Whether `window` is gone within a few seconds.
inline bool Gone(HWND window) {
  return Eventually([&] { return !::IsWindow(window); });
}

// Points in screen pixels, where xdotool works.
using Point = POINT;
inline Point MiddleOf(HWND control) {
  RECT bounds{};
  ::GetWindowRect(control, &bounds);
  return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}
// A point of `window`'s client area.
inline Point InClient(HWND window, Point at) {
  ::ClientToScreen(window, &at);
  return at;
}
// The middle of the close button on the window's title bar: the system
// tells what lies under each point of the title bar's middle.
inline Point CloseButtonOf(HWND window) {
  TITLEBARINFO bar{};
  bar.cbSize = sizeof bar;
  ::GetTitleBarInfo(window, &bar);
  int y = (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2, right = 0, left = 0;
  for (int x = bar.rcTitleBar.right + 8; x > bar.rcTitleBar.left; --x) {
    bool close = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    if (close && !right) right = x;
    if (close) left = x;
    if (right && !close) break;
  }
  EXPECT_NE(right, 0) << "no close button";
  return {(left + right) / 2, y};
}

// xdotool's answer to `arguments`, and a point as it takes one ("x y").
inline std::string Xdotool(const std::string& arguments) { return Unix("xdotool " + arguments); }
inline std::string Coordinates(Point at) {
  return std::to_string(at.x) + " " + std::to_string(at.y);
}
// The X window that Wine draws a top-level window in.
inline std::string XWindowOf(HWND window) {
  return std::to_string(reinterpret_cast<UINT_PTR>(::GetPropW(window, L"__wine_x11_whole_window")));
}

// Keys as xdotool names them ("Return", "alt+r", "a"), to the window.
inline void Keys(HWND window, const std::string& keys) {
  Xdotool("windowfocus --sync " + XWindowOf(window) + " key --delay 50 " + keys);
}
// Clicks (1, or 2 for a double-click).
inline void ClickAt(Point at, int clicks = 1) {
  Xdotool("mousemove " + Coordinates(at) + " click --repeat " + std::to_string(clicks) +
          " --delay 80 1");
}
// Presses at `from`, moves to `to` and releases there.
inline void Drag(Point from, Point to) {
  Xdotool("mousemove " + Coordinates(from) + " mousedown 1 mousemove " + Coordinates(to) +
          " mouseup 1");
}
// Moves the pointer there and leaves it.
inline void MoveTo(Point at) { Xdotool("mousemove " + Coordinates(at)); }
// The X clipboard's text, as another program reads it.
inline std::string Clipboard() { return Unix("xclip -o -selection clipboard"); }
// Keeps a picture of the window, frame and all, under the build tree's
// screenshots/.
void Screenshot(HWND window, const std::string& name);

// A place in pixels.
struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
inline void PrintTo(const Box& box, std::ostream* out) {
  *out << "{" << box.left << ", " << box.top << ", " << box.width << ", " << box.height << "}";
}
// A control's place in its window's client area.
inline Box BoxOf(HWND control) {
  RECT bounds{};
  ::GetWindowRect(control, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}
// A window's client area.
inline Box ClientAreaOf(HWND window) {
  RECT area{};
  ::GetClientRect(window, &area);
  return {0, 0, area.right, area.bottom};
}
// What the control's font was asked for, which WM_GETFONT hands back.
inline LOGFONTW FontOf(HWND control) {
  LOGFONTW look{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof look,
               &look);
  return look;
}
// The text colour and background brush colour the window gives `control`.
struct Colours {
  COLORREF text, background;
};
inline Colours ColoursOf(HWND window, HWND control) {
  HDC dc = ::GetDC(control);
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH fill{};
  ::GetObjectW(brush, sizeof fill, &fill);
  Colours colours{::GetTextColor(dc), fill.lbColor};
  ::ReleaseDC(control, dc);
  return colours;
}

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
