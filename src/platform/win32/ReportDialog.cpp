// The report window: the stop sign, the report in a read-only text box,
// the three choice buttons and the copy button, at their places in twips.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/ModalDialog.h"
#include "platform/win32/NativeWindows.h"
#include "platform/win32/ResourceNumbers.h"
#include "platform/win32/ScreenLayout.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform::win32 {
namespace {

// No control has the numbers of OK (1) or Cancel (2): the dialog sends
// those for Enter and Escape where no button is meant.
constexpr int kTextId = 100, kFirstButtonId = 200;

Icon StopIcon(int size) {
  return Icon(static_cast<HICON>(
      ::LoadImageW(ThisModule(), MAKEINTRESOURCEW(JOTWELL_STOP_ICON), IMAGE_ICON, size, size, 0)));
}

class ReportDialog;
// The report window this thread shows, for a second report to refresh. A
// thread shows one at most: a second report refreshes it.
thread_local ReportDialog* shown = nullptr;

class ReportDialog final : public ModalDialog {
 public:
  explicit ReportDialog(ReportWindow& window)
      : ModalDialog(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, L"Run-Time Error", 8),
        window_(window) {
    shown = this;
  }
  ~ReportDialog() { shown = nullptr; }

  bool Shows(const ReportWindow& window) const { return &window == &window_; }
  void ShowText() { ::SetDlgItemTextW(dialog_, kTextId, ControlText(window_.Text()).c_str()); }

 private:
  // The controls in the tab order: the text first, then the buttons from
  // left to right. The focus starts in the text.
  void Build() override {
    int dpi = ScreenDpi();
    AddStopSign(dpi);
    HWND text = AddReportText(dpi);
    AddButtons(dpi);
    SizeAndCentre(dialog_, layout::kReportWidth, layout::kReportHeight, dpi);
    ::SetFocus(text);
  }

  // The window's own icon too, whose small image the title bar shows. The
  // sign keeps its own size in the control's corner.
  void AddStopSign(int dpi) {
    largeIcon_ = StopIcon(32);
    smallIcon_ = StopIcon(16);
    ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
    ::SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    HWND sign = AddControl(WC_STATICW, L"", SS_ICON);
    ::SendMessageW(sign, STM_SETICON, reinterpret_cast<WPARAM>(largeIcon_.get()), 0);
    Put(sign, layout::kReportIcon, dpi);
  }

  HWND AddReportText(int dpi) {
    HWND text = AddControl(WC_EDITW, L"",
                           WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                               ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                           kTextId, WS_EX_CLIENTEDGE);
    textFont_ = MakeFont(layout::kReportTextFont, dpi);
    ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.get()), FALSE);
    Put(text, layout::kReportText, dpi);
    // A report is as long as its values make it.
    ::SendMessageW(text, EM_SETLIMITTEXT, 0, 0);
    ShowText();
    return text;
  }

  // The choice buttons in the dialog's font; the copy button with its
  // picture, whose light grey becomes the button face, and its tooltip.
  void AddButtons(int dpi) {
    auto dialogFont = static_cast<WPARAM>(::SendMessageW(dialog_, WM_GETFONT, 0, 0));
    for (int index = 0; index < ReportWindow::kCopyButton; ++index) {
      HWND button = AddControl(WC_BUTTONW, ControlText(layout::kReportCaptions[index]),
                               WS_TABSTOP | BS_PUSHBUTTON, kFirstButtonId + index);
      ::SendMessageW(button, WM_SETFONT, dialogFont, FALSE);
      Put(button, layout::kReportButtons[index], dpi);
    }
    HWND copy = AddControl(WC_BUTTONW, L"", WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP,
                           kFirstButtonId + ReportWindow::kCopyButton);
    Put(copy, layout::kReportButtons[ReportWindow::kCopyButton], dpi);
    pages_.reset(
        static_cast<HBITMAP>(::LoadImageW(ThisModule(), MAKEINTRESOURCEW(JOTWELL_COPY_PAGES),
                                          IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    ::SendMessageW(copy, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pages_.get()));
    AddTooltip(copy, L"Copy");
  }

  void AddTooltip(HWND control, const wchar_t* text) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, dialog_,
                                     nullptr, ThisModule(), nullptr);
    // The first size of the record, which every version of the controls
    // takes.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  void Press(Integer button) {
    window_.PressButton(button);
    if (!window_.IsLoaded()) Close();
  }

  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_COMMAND: {
        int button = LOWORD(wParam) - kFirstButtonId;
        if (HIWORD(wParam) != BN_CLICKED || button < 0 || button > ReportWindow::kCopyButton)
          return FALSE;
        Press(button);
        return TRUE;
      }
      // The title bar's close button and Alt+F4 close the window without
      // a choice.
      case WM_CLOSE: Close(); return TRUE;
      // Access keys are shown underlined from the start, not only once Alt
      // is pressed: after the system set the window's first look.
      case WM_SHOWWINDOW:
        if (wParam)
          ::SendMessageW(dialog_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
        return FALSE;
      default: return FALSE;
    }
  }

  // Escape answers Abort wherever the focus is: the text box would turn
  // it into a close request, which is no choice.
  bool Filter(MSG& message) override {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        (message.hwnd == dialog_ || ::IsChild(dialog_, message.hwnd))) {
      Press(ReportWindow::kAbortButton);
      return true;
    }
    return ::IsDialogMessageW(dialog_, &message) != FALSE;
  }

  ReportWindow& window_;
  Font textFont_;
  Icon largeIcon_, smallIcon_;
  Bitmap pages_;
};

}  // namespace

bool ShowReportWindow(ReportWindow& window) { return ReportDialog(window).Run(); }

void RefreshReportWindow(ReportWindow& window) {
  if (shown && shown->Shows(window)) shown->ShowText();
}

}  // namespace jotwell::platform::win32
