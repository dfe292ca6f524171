// A dialog modal on the calling thread, as the library's windows are: the
// thread's other windows are disabled while it is shown, and the thread's
// messages keep flowing, so a host's windows still paint and its timers
// still run. The dialog is made from a template with no controls; each
// window places its own controls in pixels.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace jotwell::platform::win32 {

class ModalDialog {
 public:
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Shows the dialog and returns once it is closed. False when it could
  // not be made. What a handler threw is thrown again here.
  bool Run();

 protected:
  // `style` of the dialog window; `title` its caption. With a font
  // point size, the dialog's own font (inherited by nothing, but offered
  // through WM_GETFONT) is the shell's dialog font at that size.
  ModalDialog(DWORD style, const std::wstring& title, WORD fontPoints = 0);
  ~ModalDialog() = default;

  // Ends the dialog: the thread's windows first, then the dialog itself.
  void Close();
  // A visible control of the dialog, placed later.
  HWND AddControl(const wchar_t* kind, const std::wstring& text, DWORD style, int id = -1,
                  DWORD extendedStyle = 0);

  // WM_INITDIALOG: makes and places the controls, and gives the focus.
  virtual void Build() = 0;
  // Every other message, as a dialog procedure answers it.
  virtual INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // A message of the thread before it is dispatched; true when taken.
  virtual bool Filter(MSG& message) = 0;

  // Null once the dialog is closed.
  HWND dialog_ = nullptr;

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void DispatchUntilClosed();

  std::vector<WORD> template_;
  std::vector<HWND> disabled_;
  std::exception_ptr failure_;
};

}  // namespace jotwell::platform::win32
