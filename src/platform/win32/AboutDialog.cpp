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

  bool Show() { return Run(); }

 private:
  void Build() override {
    int dpi = ScreenDpi();
    hand_ = static_cast<HCURSOR>(
        ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(JOTWELL_HAND_CURSOR), IMAGE_CURSOR, 0, 0, 0));
    RECT frame = PixelsOf(layout::kAboutFrame, dpi);
    std::array<String, kLabels> texts;
    for (const AboutWindow::Label& label : window_.Labels())
      texts.at(static_cast<size_t>(label.role)) = label.text;
    // Labels before the frame: the first made lies on top.
    for (size_t role = 0; role < kLabels; ++role) PutLabel(role, texts[role], dpi, frame);
    frame_ = AddControl(WC_BUTTONW, L"", BS_GROUPBOX);
    Put(frame_, layout::kAboutFrame, dpi);
    SizeAndCentre(dialog_, layout::kAboutWidth, layout::kAboutHeight, dpi);
  }

  // A label too small for its text grows to fit, keeping its right edge,
  // so that the version stays whole inside the frame.
  void PutLabel(size_t role, const String& text, int dpi, const RECT& frame) {
    const layout::AboutLabel& look = layout::kAboutLabels[role];
    fonts_[role] = MakeFont(look.font, dpi);
    std::wstring shown = ControlText(text);
    HWND label = labels_[role] = AddControl(WC_STATICW, shown, SS_LEFTNOWORDWRAP | SS_NOPREFIX);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[role].get()), FALSE);
    RECT at = PixelsOf(look.place, dpi, {frame.left, frame.top});
    HDC screen = ::GetDC(label);
    HGDIOBJ before = ::SelectObject(screen, fonts_[role].get());
    SIZE natural{};
    ::GetTextExtentPoint32W(screen, shown.c_str(), static_cast<int>(shown.size()), &natural);
    ::SelectObject(screen, before);
    ::ReleaseDC(label, screen);
    at.left = std::min(at.left, at.right - natural.cx);
    at.bottom = std::max(at.bottom, at.top + natural.cy);
    ::SetWindowPos(label, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
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

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
      case WM_LBUTTONDOWN:
        ::SetCapture(dialog_);
        pressed_ = SpotAt(point);
        return TRUE;
      // The release that ends a double-click is no click of its own.
      case WM_LBUTTONDBLCLK: {
        ::SetCapture(dialog_);
        pressed_.reset();
        Spot spot = SpotAt(point);
        if (const Role* role = std::get_if<Role>(&spot)) window_.DoubleClicked(*role);
        CloseIfUnloaded();
        return TRUE;
      }
      case WM_LBUTTONUP: {
        std::optional<Spot> press = std::exchange(pressed_, std::nullopt);
        if (::GetCapture() == dialog_) ::ReleaseCapture();
        if (press && *press == SpotAt(point)) Clicked(*press);
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
        ::SetCursor(hand_);
        ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        auto dc = reinterpret_cast<HDC>(wParam);
        auto control = reinterpret_cast<HWND>(lParam);
        bool link = false;
        for (size_t role = 0; role < kLabels; ++role)
          link = link || (labels_[role] == control && layout::kAboutLabels[role].link);
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
      case WM_DESTROY:
        if (hand_) ::DestroyCursor(hand_);
        hand_ = nullptr;
        return FALSE;
      default: return FALSE;
    }
  }

  // Every key goes to the window as it is: nothing moves the focus.
  bool Filter(MSG&) override { return false; }

  AboutWindow& window_;
  std::array<Font, kLabels> fonts_;
  std::array<HWND, kLabels> labels_{};
  HWND frame_ = nullptr;
  HCURSOR hand_ = nullptr;
  std::optional<Spot> pressed_;
};

}  // namespace

bool ShowAboutWindow(AboutWindow& window) { return AboutDialog(window).Show(); }

}  // namespace jotwell::platform::win32
