// The report window as a native window, on a display: its layout at the
// screen's dpi, each way of answering it and what the trap then does, the
// copy button and the clipboard, and a second report while one is shown.

#include "platform/win32/ResourceNumbers.h"
#include "support/WindowAnswers.h"
#include "windows/desktop/DisplaySupport.h"

#include <commctrl.h>

#include <array>
#include <atomic>

namespace jotwell::test {
namespace {

constexpr int kText = 100, kAbort = 200, kRetry = 201, kIgnore = 202, kCopy = 203;

class ReportWindowTest : public NativeWindowsTest {
 protected:
  static HWND Window() { return DialogTitled(L"Run-Time Error"); }
  static std::wstring TextOf(HWND control) {
    std::wstring text(::GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(::GetWindowTextW(control, text.data(), text.size()));
    return text;
  }
  // The error log's text as another program reads it off the clipboard:
  // UTF-8, lines ended by line feeds.
  static std::string AsCopied(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(
        ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansi.size(), wide.data(), wide.size()));
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide.size(), utf8.data(),
                                      utf8.size(), nullptr, nullptr));
    std::erase(utf8, '\r');
    return utf8;
  }
  std::atomic<bool> after = false;
  std::atomic<Long> choice = -1;
};

// Places in pixels at 96 dpi, which the screen's dpi scales: the icon, the
// text, and the buttons in the tab order, which the text heads.
TEST_F(ReportWindowTest, EveryControlHasItsPlaceFontAndLookAtTheScreensDpi) {
  Caller probe([] {
    RunTraced(kProbe, NoRegistrations,
              [](Trap& trap) { trap.Do(FailingOnce(errnum::kPathNotFound)); });
  });
  HWND window = Window();
  EXPECT_EQ(ClientAreaOf(window), Scaled(Box{0, 0, 438, 385}));
  auto style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_TRUE(::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  HWND icon = ::GetWindow(::GetDlgItem(window, kText), GW_HWNDPREV);
  HWND text = ::GetDlgItem(window, kText);
  EXPECT_EQ(BoxOf(icon), Scaled(Box{8, 8, 32, 32}));
  ICONINFO stop{};
  ::GetIconInfo(reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)), &stop);
  BITMAP picture{};
  ::GetObjectW(stop.hbmColor, sizeof picture, &picture);
  EXPECT_EQ(std::pair(picture.bmWidth, picture.bmHeight), std::pair(32L, 32L));
  ::DeleteObject(stop.hbmColor), ::DeleteObject(stop.hbmMask);
  EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0) << "the 16 x 16 image";

  EXPECT_EQ(BoxOf(text), Scaled(Box{48, 8, 377, 329}));
  LOGFONTW font = FontOf(text);
  EXPECT_EQ(std::wstring(font.lfFaceName), L"Courier New");
  EXPECT_EQ(font.lfHeight, -::MulDiv(1100, Dpi(), 9600)) << "8.25 points";
  EXPECT_EQ(std::tuple(font.lfWeight, font.lfItalic, font.lfUnderline),
            std::tuple(FW_NORMAL, 0, 0));
  auto textStyle = ::GetWindowLongW(text, GWL_STYLE);
  for (LONG bit : {ES_MULTILINE, ES_READONLY, WS_HSCROLL, WS_VSCROLL, WS_TABSTOP})
    EXPECT_TRUE(textStyle & bit) << std::hex << bit;
  EXPECT_EQ(ColoursOf(window, text).background, ::GetSysColor(COLOR_BTNFACE));

  std::array<Box, 4> buttons{
      {{200, 352, 57, 25}, {264, 352, 57, 25}, {328, 352, 57, 25}, {400, 352, 25, 25}}};
  std::array<const wchar_t*, 3> captions{L"&Abort", L"&Retry", L"&Ignore"};
  HWND focus = text;
  for (int index = 0; index < 4; ++index) {
    HWND button = ::GetDlgItem(window, kAbort + index);
    EXPECT_EQ(BoxOf(button), Scaled(buttons[index])) << index;
    focus = ::GetNextDlgTabItem(window, focus, FALSE);
    EXPECT_EQ(focus, button) << "tab order at " << index;
    if (index < 3) {
      EXPECT_EQ(TextOf(button), captions[index]);
    }
    EXPECT_FALSE(::SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) << "underlined";
  }
  EXPECT_EQ(::GetNextDlgTabItem(window, focus, FALSE), text);

  HWND copy = ::GetDlgItem(window, kCopy);
  ::GetObjectW(reinterpret_cast<HBITMAP>(::SendMessageW(copy, BM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof picture, &picture);
  EXPECT_EQ(std::pair(picture.bmWidth, picture.bmHeight), std::pair(15L, 13L));
  HWND tooltip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tooltip && ::GetWindow(tooltip, GW_OWNER) != window)
    tooltip = ::FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
  wchar_t tip[16] = L"";
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.lpszText = tip;
  ASSERT_TRUE(::SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(std::pair(tool.uId, std::wstring(tip)),
            std::pair(reinterpret_cast<UINT_PTR>(copy), std::wstring(L"Copy")));

  Screenshot(window, "report-window-" + std::to_string(Dpi()) + "dpi");
  Keys(window, "Escape");
  probe.Join();
}

// Width, height and bits per pixel of a picture resource's images, as
// their own headers give them: an icon's or a cursor's is followed by its
// mask (twice the height), a cursor's comes after its hot spot.
using Image = std::tuple<int, int, int>;
const BYTE* ResourceBytes(int id, LPCSTR kind) {
  return static_cast<const BYTE*>(::LockResource(
      ::LoadResource(nullptr, ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), kind))));
}
Image HeaderOf(const BYTE* header, int heights) {
  auto number = [&](size_t at) { return header[at] | header[at + 1] << 8; };
  return {number(4), number(8) / heights, number(14)};
}
std::vector<Image> ImagesOf(int id, LPCSTR kind) {
  const BYTE* bytes = ResourceBytes(id, kind);
  if (bytes == nullptr) return {};
  if (kind == RT_BITMAP) return {HeaderOf(bytes, 1)};
  bool cursor = kind == RT_GROUP_CURSOR;
  std::vector<Image> images;
  for (size_t entry = 6, count = bytes[4]; images.size() < count; entry += 14) {
    const BYTE* image =
        ResourceBytes(bytes[entry + 12] | bytes[entry + 13] << 8, cursor ? RT_CURSOR : RT_ICON);
    images.push_back(image ? HeaderOf(image + (cursor ? 4 : 0), 2) : Image{});
  }
  return images;
}

// Sixteen colours each: the stop sign at both sizes, the copy button's
// pages and the links' hand.
TEST(PicturesTest, AreSixteenColourImagesOfTheirSizes) {
  EXPECT_THAT(ImagesOf(JOTWELL_STOP_ICON, RT_GROUP_ICON),
              ::testing::UnorderedElementsAre(Image{32, 32, 4}, Image{16, 16, 4}));
  EXPECT_THAT(ImagesOf(JOTWELL_COPY_PAGES, RT_BITMAP), ::testing::ElementsAre(Image{15, 13, 4}));
  EXPECT_THAT(ImagesOf(JOTWELL_HAND_CURSOR, RT_GROUP_CURSOR),
              ::testing::ElementsAre(Image{32, 32, 4}));
}

class AnswerTest : public ReportWindowTest, public ::testing::WithParamInterface<Answer> {};

// Closing the window is no choice: the report after it, closed, leaves
// the choice this one made (0 when there was none). While a report is
// shown, the host's own window is disabled.
TEST_P(AnswerTest, TheTrapActsOnTheAnswerAndClosingTheNextWindowLeavesIt) {
  Long afterClosing = -1;
  std::atomic<HWND> host = nullptr;
  bool hostEnabledAgain = false;
  Caller probe([&] {
    host = HostWindow();
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do(FailingOnce(errnum::kPathNotFound));
      trap.Do([&] { after = true; });
    });
    hostEnabledAgain = ::IsWindowEnabled(host);
    ::DestroyWindow(host);
    choice = ErrorManager().UserChoice();
    afterClosing = ErrorManager().DysplayMessage("Module1", "Sub Probe");
  });
  HWND window = Window();
  EXPECT_FALSE(::IsWindowEnabled(host)) << "the host's window while the report is shown";
  std::string how = GetParam().how;
  if (how == "click") ClickAt(MiddleOf(::GetDlgItem(window, kIgnore)));
  else if (how == "close") ClickAt(CloseButtonOf(window));
  else Keys(window, how);
  EXPECT_TRUE(Gone(window));
  HWND next = Window();
  Keys(next, "alt+F4");
  EXPECT_TRUE(Gone(next));
  probe.Join();
  EXPECT_EQ(std::tuple(choice.load(), afterClosing, after.load(), hostEnabledAgain),
            std::tuple(GetParam().choice, GetParam().choice, GetParam().after, true));
}

INSTANTIATE_TEST_SUITE_P(Each, AnswerTest, ::testing::ValuesIn(kReportAnswers), ByName());

// Retry runs the failing statement again, which fails again; Ignore then
// goes on after it.
TEST_F(ReportWindowTest, RetryAndThenIgnoreMakeTheTrapActOnEach) {
  int runs = 0;
  Caller probe([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] {
        ++runs;
        throw RuntimeError(errnum::kPathNotFound);
      });
      trap.Do([&] { after = true; });
    });
  });
  HWND first = Window();
  Keys(first, "alt+r");
  EXPECT_TRUE(Gone(first));
  HWND second = Window();
  ClickAt(MiddleOf(::GetDlgItem(second, kIgnore)));
  probe.Join();
  EXPECT_EQ(std::pair(runs, after.load()), std::pair(2, true));
}

// The copied text is the error log's entry, in the same code page; the
// clipboard keeps it once the window is gone.
TEST_F(ReportWindowTest, CopyPutsTheErrorLogsEntryOnTheClipboardAndLeavesTheWindowOpen) {
  String big;
  for (int i = 0; i < 2000; ++i) big += "line " + std::to_string(i) + " caf\xC3\xA9\r\n";
  Caller probe([&] {
    auto registrations = [&](Registrations& r) { r.Arguments({{"Big", big}}); };
    RunTraced(kProbe, registrations,
              [](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kPathNotFound); }); });
    choice = ErrorManager().UserChoice();
  });
  HWND window = Window();
  ClickAt(MiddleOf(::GetDlgItem(window, kCopy)));
  std::string copied;
  Eventually([&] { return (copied = Clipboard()).find("End Details") != std::string::npos; });
  EXPECT_FALSE(probe.Returned(200ms));
  Keys(window, "alt+i");
  probe.Join();
  EXPECT_EQ(choice, choice::kIgnore);
  std::string logged = ErrorLog();
  ASSERT_TRUE(::OpenClipboard(nullptr));
  const char* text = static_cast<const char*>(::GlobalLock(::GetClipboardData(CF_TEXT)));
  std::string held = text ? text : "";
  ::CloseClipboard();
  EXPECT_EQ(held, logged) << "as the error log holds it";
  std::erase(copied, '\r');
  EXPECT_EQ(copied, AsCopied(logged));
  EXPECT_THAT(copied, HasSubstr("line 1999 caf\xC3\xA9"));
}

std::atomic<Long> nested{-1};

void CALLBACK RaiseNestedReport(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  nested = ErrorManager().DysplayMessage("Module1", "Sub Nested");
}

// A host timer that fires while the report waits raises a second report: it
// replaces the text and returns at once; the first still waits.
TEST_F(ReportWindowTest, ASecondReportWhileOneIsShownReplacesTheTextWithoutWaiting) {
  std::atomic<Long> outer{-1};
  nested = -1;
  Caller host([&] {
    UINT_PTR timer = ::SetTimer(nullptr, 0, 300, RaiseNestedReport);
    outer = ErrorManager().DysplayMessage("Module1", "Sub Outer");
    ::KillTimer(nullptr, timer);
  });
  HWND window = Window();
  EXPECT_TRUE(Eventually([&] { return nested == 0; }));
  EXPECT_EQ(outer, -1);
  EXPECT_THAT(TextOf(::GetDlgItem(window, kText)),
              HasSubstr(L"Procedure [Sub Nested] in Module [Module1]"));
  Keys(window, "alt+i");
  host.Join();
  EXPECT_EQ(outer, choice::kIgnore);
}

}  // namespace
}  // namespace jotwell::test
