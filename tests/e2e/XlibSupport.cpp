// Apart from the rest of the support: Xlib's macros (True, Status, None)
// would clash with the library's names.
#include <X11/Xlib.h>

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

}  // namespace jotwell::test
