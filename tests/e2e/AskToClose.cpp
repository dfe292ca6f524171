// The support that speaks X itself, apart from the rest: Xlib's macros (True, Status, None) would
// clash with the library's names.
#include <X11/Xlib.h>

#include <string>

namespace jotwell::test {

// There is no window manager on the test's display: send what its close
// button would.
bool SendCloseRequest(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent != 0;
}

bool DisplayAnswers(const std::string& name) {
  Display* display = XOpenDisplay(name.c_str());
  if (display) XCloseDisplay(display);
  return display != nullptr;
}

}  // namespace jotwell::test
