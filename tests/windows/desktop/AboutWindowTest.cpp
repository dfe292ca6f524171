// The About window as a native window, on a display, shown by each
// thread's first JotBook: its layout at the screen's dpi, what closes it
// and what does not, and its links handed to the shell.

#include <algorithm>
#include <array>
#include <atomic>
#include <cwchar>

#include "base/LibraryFacts.h"
#include "jotwell/JotBook.h"
#include "support/WindowAnswers.h"
#include "windows/desktop/DisplaySupport.h"

namespace jotwell::test {
namespace {

class AboutWindowTest : public NativeWindowsTest {
 protected:
  // The first object of a fresh thread, which shows the About window; the
  // thread's own window, disabled meanwhile.
  Caller StartUp() {
    return Caller([this] {
      host = HostWindow();
      JotBook book;
      depthAfter = ErrorManager().CallDepth();
      hostEnabledAfter = ::IsWindowEnabled(host);
      ::DestroyWindow(host);
    });
  }
  static HWND Window() { return DialogTitled(L""); }
  // The labels in the order of their roles: title, kind, home-page link,
  // platform, version, maker link; the frame comes after them.
  static std::array<HWND, 7> Controls(HWND window) {
    std::array<HWND, 7> controls{};
    HWND control = ::GetWindow(window, GW_CHILD);
    for (HWND& each : controls) each = control, control = ::GetWindow(control, GW_HWNDNEXT);
    return controls;
  }
  // A point of the window at 96 dpi, scaled.
  static Point At(HWND window, int x, int y) { return InClient(window, {Scaled(x), Scaled(y)}); }

  std::atomic<HWND> host = nullptr;
  bool hostEnabledAfter = false;
  size_t depthAfter = 99;  // the thread's call trace once the object is handed out
};

struct LabelLook {
  const wchar_t* face;
  int height;  // pixels at 96 dpi
  bool italic, underline, link;
  Box place;  // at 96 dpi, in the client area
};

// Every label is bold; a label whose text is wider than its place grows to
// the left, keeping its right edge.
TEST_F(AboutWindowTest, EveryLabelHasItsPlaceFontAndColourAtTheScreensDpi) {
  Caller start = StartUp();
  HWND window = Window();
  EXPECT_EQ(ClientAreaOf(window), Scaled(Box{0, 0, 481, 241}));
  EXPECT_FALSE((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) << "a caption";
  EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(host))
      << "the thread's own window while the About window is shown";
  std::array<HWND, 7> controls = Controls(window);
  EXPECT_EQ(BoxOf(controls[6]), Scaled(Box{4, 3, 472, 232})) << "the frame";

  std::array<LabelLook, 6> looks{{
      {L"Comic Sans MS", 48, false, false, false, {17, 16, 238, 67}},
      {L"Comic Sans MS", 13, false, false, false, {15, 83, 80, 18}},
      {L"Comic Sans MS", 13, false, true, true, {120, 82, 137, 19}},
      {L"Arial", 21, false, false, false, {276, 171, 185, 24}},
      {L"Arial", 16, false, false, false, {402, 192, 59, 19}},
      {L"Arial", 11, true, true, true, {407, 210, 55, 13}},
  }};
  for (size_t role = 0; role < looks.size(); ++role) {
    const LabelLook& look = looks[role];
    HWND label = controls[role];
    LOGFONTW font = FontOf(label);
    EXPECT_EQ(std::tuple(std::wstring(font.lfFaceName), font.lfHeight, font.lfWeight,
                         font.lfItalic != 0, font.lfUnderline != 0),
              std::tuple(std::wstring(look.face), -Scaled(look.height), FW_BOLD, look.italic,
                         look.underline))
        << role;
    Box place = Scaled(look.place), shown = BoxOf(label);
    EXPECT_TRUE(shown.left <= place.left && shown.left + shown.width == place.left + place.width &&
                shown.top == place.top && shown.height >= place.height)
        << role << ": " << ::testing::PrintToString(shown) << " for "
        << ::testing::PrintToString(place);
    EXPECT_EQ(ColoursOf(window, label).text,
              look.link ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNTEXT))
        << role;
    if (!look.link) continue;
    // The hand, with its tip at the hot spot.
    MoveTo(MiddleOf(label));
    ICONINFO hand{};
    Eventually([&] {
      CURSORINFO cursor{};
      cursor.cbSize = sizeof cursor;
      return ::GetCursorInfo(&cursor) && ::GetIconInfo(cursor.hCursor, &hand) &&
             hand.xHotspot == 12;
    });
    EXPECT_EQ(std::pair(hand.xHotspot, hand.yHotspot), std::pair(12UL, 1UL)) << role;
  }
  Screenshot(window, "about-window-" + std::to_string(Dpi()) + "dpi");
  Keys(window, "x");
  start.Join();
  EXPECT_TRUE(hostEnabledAfter);
}

class AboutCloserTest : public AboutWindowTest, public ::testing::WithParamInterface<Closer> {};

// Keys without a character, the plain labels, and a press released on
// another place than its own leave the window open.
TEST_P(AboutCloserTest, ClosesTheWindowAndLetsTheObjectBeHandedOut) {
  Caller start = StartUp();
  HWND window = Window();
  Keys(window, "Right F1 shift Tab");
  std::array<HWND, 7> controls = Controls(window);
  for (int plain : {1, 3, 4}) ClickAt(MiddleOf(controls[plain]));
  Drag(MiddleOf(controls[0]), At(window, 240, 238));
  Drag(At(window, 240, 238), At(window, 240, 140));
  EXPECT_FALSE(start.Returned(500ms));
  if (GetParam().keys) Keys(window, GetParam().keys);
  else ClickAt(At(window, GetParam().x, GetParam().y));
  start.Join();
  EXPECT_TRUE(Gone(window));
  EXPECT_EQ(depthAfter, 0u);
}

INSTANTIATE_TEST_SUITE_P(Each, AboutCloserTest, ::testing::ValuesIn(kAboutClosers), ByName());

// The command that opens a scheme's addresses, replaced for the test and
// put back after it. The shell reads it from the machine's classes only.
class ScopedOpenCommand {
 public:
  ScopedOpenCommand(const std::wstring& scheme, const std::wstring& command)
      : key_(L"Software\\Classes\\" + scheme + L"\\shell\\open\\command") {
    DWORD size = sizeof old_;
    had_ = ::RegGetValueW(HKEY_LOCAL_MACHINE, key_.c_str(), nullptr, RRF_RT_ANY | RRF_NOEXPAND,
                          nullptr, old_, &size) == ERROR_SUCCESS;
    EXPECT_EQ(Set(command.c_str()), ERROR_SUCCESS);
  }
  ~ScopedOpenCommand() {
    if (had_) Set(old_);
    else ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), nullptr);
  }

 private:
  LSTATUS Set(const wchar_t* command) {
    return ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), nullptr, REG_SZ, command,
                             (std::wcslen(command) + 1) * sizeof(wchar_t));
  }
  std::wstring key_;
  wchar_t old_[1024] = L"";
  bool had_ = false;
};

// A recording command stands in for the browser and the mail program. A
// double-click is a click and a double-click: the home page opens twice
// for it. A link pressed and released elsewhere opens nothing.
TEST_F(AboutWindowTest, LinksHandTheirTargetsToTheShell) {
  std::string opened = dir.File("opened.txt");
  std::wstring recorder = L"\"" + PathOf(JOTWELL_RECORDER).wstring() + L"\" \"" +
                          PathOf(opened).wstring() + L"\" \"%1\"";
  ScopedOpenCommand https(L"https", recorder), mailto(L"mailto", recorder);
  Caller start = StartUp();
  HWND window = Window();
  std::array<HWND, 7> controls = Controls(window);
  HWND homeLink = controls[2], makerLink = controls[5];
  for (HWND link : {homeLink, makerLink}) Drag(MiddleOf(link), At(window, 240, 238));
  for (auto [link, clicks] : {std::pair{homeLink, 1}, {homeLink, 2}, {makerLink, 1}}) {
    ClickAt(MiddleOf(link), clicks);
    std::this_thread::sleep_for(600ms);  // so that no two gestures make one double-click
  }
  Eventually([&] { return std::ranges::count(ReadFile(opened), '\n') >= 4; });
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(start.Returned());
  Keys(window, "Escape");
  start.Join();
  // Each opens in a program of its own, which may write before another.
  std::string lines = ReadFile(opened), home = kHomePage + "\r\n"s, mail = kMakerMail + "\r\n"s;
  size_t at = lines.find(mail);
  ASSERT_NE(at, std::string::npos) << lines;
  EXPECT_EQ(lines.erase(at, mail.size()), home + home + home);
}

}  // namespace
}  // namespace jotwell::test
