// The About window: a frame and six bold labels on a window without a
// caption. The labels and the frame let the mouse through to the window,
// which decides what was clicked, so that a click is a press and a release
// on the same place, wherever the pointer went between.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <variant>

#include "platform/win32/ModalDialog.h"
#include "platform/win32/NativeWindows.h"
#include "platform/win32/ResourceNumbers.h"
#include "platform/win32/ScreenLayout.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform::win32 {
namespace {

using Role = AboutWindow::Role;
using Area = AboutWindow::Area;
// Where a press or a release lands.
using Spot = std::variant<Area, Role>;

constexpr size_t kLabels = layout::kAboutLabels.size();

class AboutDialog final : public ModalDialog {
 public:
  explicit AboutDialog(AboutWindow& window)
      : ModalDialog(WS_POPUP | WS_DLGFRAME, L""), window_(window) {}

  // The hand goes with the window; the pointer must not show it after.
  ~AboutDialog() {
    if (::GetCursor() == hand_.get()) ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  }

 private:
  // The window keeps the focus itself, so that it has every key.
  void Build() override {
    int dpi = ScreenDpi();
    hand_.reset(static_cast<HCURSOR>(
        ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(JOTWELL_HAND_CURSOR), IMAGE_CURSOR, 0, 0, 0)));
    std::array<String, kLabels> texts;
    for (const AboutWindow::Label& label : window_.Labels())
      texts.at(static_cast<size_t>(label.role)) = label.text;
    // Labels before the frame: the first made lies on top.
    for (size_t role = 0; role < kLabels; ++role) PutLabel(role, texts[role], dpi);
    frame_ = AddControl(WC_BUTTONW, L"", BS_GROUPBOX);
    Put(frame_, layout::kAboutFrame, dpi);
    SizeAndCentre(dialog_, layout::kAboutWidth, layout::kAboutHeight, dpi);
  }

  // A label too small for its text grows to fit, keeping its right edge,
  // so that the version stays whole inside the frame.
  void PutLabel(size_t role, const String& text, int dpi) {
    const layout::AboutLabel& look = layout::kAboutLabels[role];
    fonts_[role] = MakeFont(look.font, dpi);
    std::wstring shown = ControlText(text);
    HWND label = labels_[role] = AddControl(WC_STATICW, shown, SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[role].get()), FALSE);
    RECT at = PixelsOf(look.place, dpi, layout::kAboutFrame);
    HDC screen = ::GetDC(label);
    HGDIOBJ before = ::SelectObject(screen, fonts_[role].get());
    SIZE natural{};
    ::GetTextExtentPoint32W(screen, shown.c_str(), static_cast<int>(shown.size()), &natural);
    ::SelectObject(screen, before);
    ::ReleaseDC(label, screen);
    at.left = std::min(at.left, at.right - natural.cx);
    at.bottom = std::max(at.bottom, at.top + natural.cy);
    Put(label, at);
  }

  std::optional<size_t> RoleOf(HWND control) const {
    auto found = std::ranges::find(labels_, control);
    if (found == labels_.end()) return std::nullopt;
    return static_cast<size_t>(found - labels_.begin());
  }

  Spot SpotAt(POINT point) const {
    for (size_t role = 0; role < kLabels; ++role)
      if (Contains(labels_[role], point)) return static_cast<Role>(role);
    return Contains(frame_, point) ? Area::Frame : Area::Background;
  }
  bool Contains(HWND control, POINT point) const {
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&bounds), 2);
    return ::PtInRect(&bounds, point) != FALSE;
  }
  static bool IsLink(const Spot& spot) {
    const Role* role = std::get_if<Role>(&spot);
    return role && layout::kAboutLabels[static_cast<size_t>(*role)].link;
  }

  void Clicked(const Spot& spot) {
    if (const Area* area = std::get_if<Area>(&spot)) window_.Clicked(*area);
    else window_.Clicked(std::get<Role>(spot));
  }
  // The window's handlers may have unloaded it.
  void CloseIfUnloaded() {
    if (!window_.IsLoaded()) Close();
  }

  static POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        ::SetCapture(dialog_);
        pressed_ = SpotAt(PointOf(lParam));
        return TRUE;
      // The release that ends a double-click is no click of its own.
      case WM_LBUTTONDBLCLK: {
        ::SetCapture(dialog_);
        pressed_.reset();
        Spot spot = SpotAt(PointOf(lParam));
        if (const Role* role = std::get_if<Role>(&spot)) window_.DoubleClicked(*role);
        CloseIfUnloaded();
        return TRUE;
      }
      case WM_LBUTTONUP: {
        std::optional<Spot> press = std::exchange(pressed_, std::nullopt);
        if (::GetCapture() == dialog_) ::ReleaseCapture();
        if (press && *press == SpotAt(PointOf(lParam))) Clicked(*press);
        CloseIfUnloaded();
        return TRUE;
      }
      case WM_CAPTURECHANGED: pressed_.reset(); return TRUE;
      // Tab produces a character but moves the focus elsewhere.
      case WM_CHAR: {
        if (wParam == '\t') return TRUE;
        // A key's code is 16 bits wide; what does not fit reads as "?".
        Integer code = static_cast<Integer>(wParam < 0x8000 ? wParam : '?');
        window_.KeyPressed(code);
        CloseIfUnloaded();
        return TRUE;
      }
      case WM_SETCURSOR: {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(dialog_, &cursor);
        if (LOWORD(lParam) != HTCLIENT || !hand_ || !IsLink(SpotAt(cursor))) return FALSE;
        ::SetCursor(hand_.get());
        ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        std::optional<size_t> role = RoleOf(reinterpret_cast<HWND>(lParam));
        bool link = role && layout::kAboutLabels[*role].link;
        ::SetTextColor(dc, link ? RGB(0, 0, 255) : ::GetSysColor(COLOR_BTNTEXT));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      // The window keeps the focus itself: the dialog's own rule would
      // give it to a label, and the keys with it.
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) ::SetFocus(dialog_);
        return TRUE;
      case WM_SETFOCUS: return TRUE;
      // Closed by the system (Alt+F4): no handler runs.
      case WM_CLOSE: Close(); return TRUE;
      default: return FALSE;
    }
  }

  // Every key goes to the window as it is: nothing moves the focus.
  bool Filter(MSG&) override { return false; }

  AboutWindow& window_;
  std::array<Font, kLabels> fonts_;
  std::array<HWND, kLabels> labels_{};
  HWND frame_ = nullptr;
  Cursor hand_;
  std::optional<Spot> pressed_;
};

}  // namespace

bool ShowAboutWindow(AboutWindow& window) { return AboutDialog(window).Run(); }

}  // namespace jotwell::platform::win32
