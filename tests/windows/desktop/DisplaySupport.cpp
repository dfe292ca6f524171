#include "windows/desktop/DisplaySupport.h"

#include <atomic>
#include <filesystem>

namespace jotwell::test {
namespace {

// Wine's own name for a Windows path on the Unix side.
std::string UnixPathOf(const std::filesystem::path& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  std::string unix = name ? name : "";
  if (name) ::HeapFree(::GetProcessHeap(), 0, name);
  return unix;
}

std::string X(const std::string& arguments) { return Unix("xdotool " + arguments); }
std::string At(Point at) { return std::to_string(at.x) + " " + std::to_string(at.y); }

// The X window that Wine draws a top-level window in.
std::string XWindowOf(HWND window) {
  auto id = reinterpret_cast<UINT_PTR>(::GetPropW(window, L"__wine_x11_whole_window"));
  return std::to_string(id);
}

}  // namespace

// Wine starts a Unix program but gives no handle to wait on: the command
// says it is done by renaming its output.
std::string Unix(const std::string& command, int limitSeconds) {
  static TempDir scratch;
  static std::atomic<int> serial;
  std::string name = "command" + std::to_string(++serial);
  std::string folder = UnixPathOf(scratch.path());
  WriteFile(scratch.File(name + ".sh"), "timeout -s KILL " + std::to_string(limitSeconds) + " " +
                                            command + " >'" + folder + "/" + name + ".out'" +
                                            " 2>/dev/null; mv '" + folder + "/" + name + ".out' '" +
                                            folder + "/" + name + ".done'\n");
  std::wstring line = L"/bin/sh \"" + PathOf(folder + "/" + name + ".sh").wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    ADD_FAILURE() << "could not start " << command;
    return "";
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  std::string done = scratch.File(name + ".done");
  if (!Eventually([&] { return std::filesystem::exists(PathOf(done)); },
                  std::chrono::seconds(limitSeconds + 5)))
    ADD_FAILURE() << "no end of " << command;
  return ReadFile(done);
}

HWND DialogTitled(const std::wstring& title) {
  HWND found = nullptr;
  Eventually([&] {
    found = ::FindWindowW(L"#32770", title.c_str());
    return found && ::IsWindowVisible(found);
  });
  EXPECT_NE(found, nullptr) << "no window";
  return found;
}

HWND HostWindow() {
  return ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
}

bool Gone(HWND window) {
  return Eventually([&] { return !::IsWindow(window); });
}

Point MiddleOf(HWND control) {
  RECT bounds{};
  ::GetWindowRect(control, &bounds);
  return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}

Point InClient(HWND window, POINT at) {
  ::ClientToScreen(window, &at);
  return {at.x, at.y};
}

// The system tells what lies under each point of the title bar's middle.
Point CloseButtonOf(HWND window) {
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

void Keys(HWND window, const std::string& keys) {
  X("windowfocus --sync " + XWindowOf(window) + " key --delay 50 " + keys);
}
void ClickAt(Point at, int clicks) {
  X("mousemove " + At(at) + " click --repeat " + std::to_string(clicks) + " --delay 80 1");
}
void Drag(Point from, Point to) {
  X("mousemove " + At(from) + " mousedown 1 mousemove " + At(to) + " mouseup 1");
}
void MoveTo(Point at) { X("mousemove " + At(at)); }
std::string Clipboard() { return Unix("xclip -o -selection clipboard"); }

// The window paints itself first, in its own thread.
void Screenshot(HWND window, const std::string& name) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::filesystem::create_directories(PathOf(JOTWELL_SCREENSHOTS));
  Unix("import -window " + XWindowOf(window) + " '" + UnixPathOf(PathOf(JOTWELL_SCREENSHOTS)) +
       "/" + name + ".png'");
}

void PrintTo(const Box& box, std::ostream* out) {
  *out << "{" << box.left << ", " << box.top << ", " << box.width << ", " << box.height << "}";
}

Box BoxOf(HWND control) {
  RECT bounds{};
  ::GetWindowRect(control, &bounds);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

Box ClientAreaOf(HWND window) {
  RECT area{};
  ::GetClientRect(window, &area);
  return {0, 0, area.right, area.bottom};
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW look{};
  auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  ::GetObjectW(font, sizeof look, &look);
  return look;
}

Colours ColoursOf(HWND window, HWND control) {
  HDC dc = ::GetDC(control);
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
      window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH fill{};
  ::GetObjectW(brush, sizeof fill, &fill);
  Colours colours{::GetTextColor(dc), fill.lbColor};
  ::ReleaseDC(control, dc);
  return colours;
}

}  // namespace jotwell::test
