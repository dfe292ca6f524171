// Apart from the rest of the support: Xlib's macros (True, Status, None)
// would clash with the library's names, which therefore come first.
#include "e2e/WindowSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <string>

namespace jotwell::test {

// There is no window manager on the test's display to send it.
bool SendCloseRequest(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XEvent event{};
  event.xclient = {ClientMessage, 0, False, display, std::stoul(window), XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent != 0;
}

Point MiddleOfBlue(const std::string& window, Point corner, int size) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return {-1, -1};
  XImage* image =
      XGetImage(display, std::stoul(window), corner.x, corner.y, size, size, AllPlanes, ZPixmap);
  Point least{size, size}, most{-1, -1};
  for (int y = 0; image && y < size; ++y)
    for (int x = 0; x < size; ++x) {
      unsigned long pixel = XGetPixel(image, x, y);
      if ((pixel & 0xFF) < (pixel >> 16 & 0xFF) + 64) continue;
      least = {std::min(least.x, x), std::min(least.y, y)};
      most = {std::max(most.x, x), std::max(most.y, y)};
    }
  if (image) XDestroyImage(image);
  XCloseDisplay(display);
  return {corner.x + (least.x + most.x) / 2, corner.y + (least.y + most.y) / 2};
}

}  // namespace jotwell::test
