#include "platform/win32/ModalDialog.h"

#include <cstring>

#include "platform/win32/ScreenLayout.h"

namespace jotwell::platform::win32 {
namespace {

void Append(std::vector<WORD>& words, const std::wstring& text) {
  words.insert(words.end(), text.begin(), text.end());
  words.push_back(0);
}

struct WindowSearch {
  HWND shown;
  std::vector<HWND> found;
};

BOOL CALLBACK NoteOtherWindow(HWND window, LPARAM searching) {
  auto& [shown, found] = *reinterpret_cast<WindowSearch*>(searching);
  if (window != shown && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
    found.push_back(window);
  return TRUE;
}

// The thread's visible, enabled top-level windows other than `shown`.
std::vector<HWND> OtherThreadWindows(HWND shown) {
  WindowSearch search{shown, {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), NoteOtherWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ModalDialog::ModalDialog(DWORD style, const std::wstring& title, WORD fontPoints) {
  DLGTEMPLATE head{style | (fontPoints ? DS_SETFONT : 0), 0, 0, 0, 0, 0, 0};
  template_.resize(sizeof head / sizeof(WORD));
  std::memcpy(template_.data(), &head, sizeof head);
  template_.push_back(0);  // no menu
  template_.push_back(0);  // the dialog class
  Append(template_, title);
  if (fontPoints) {
    template_.push_back(fontPoints);
    Append(template_, L"MS Shell Dlg");
  }
}

bool ModalDialog::Run() {
  dialog_ = ::CreateDialogIndirectParamW(ThisModule(),
                                         reinterpret_cast<const DLGTEMPLATE*>(template_.data()),
                                         nullptr, Procedure, reinterpret_cast<LPARAM>(this));
  if (dialog_ != nullptr && !failure_) {
    disabled_ = OtherThreadWindows(dialog_);
    for (HWND window : disabled_) ::EnableWindow(window, FALSE);
    ::ShowWindow(dialog_, SW_SHOW);
    ::SetForegroundWindow(dialog_);
    DispatchUntilClosed();
  }
  if (::IsWindow(dialog_)) Close();
  if (failure_) std::rethrow_exception(failure_);
  return dialog_ != nullptr;
}

void ModalDialog::Close() {
  for (HWND window : disabled_)
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  disabled_.clear();
  ::DestroyWindow(dialog_);
}

HWND ModalDialog::AddControl(const wchar_t* kind, const std::wstring& text, DWORD style, int id,
                             DWORD extendedStyle) {
  return ::CreateWindowExW(extendedStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ThisModule(), nullptr);
}

// A quit message ends the dialog too, and is posted again for the host's
// own loop.
void ModalDialog::DispatchUntilClosed() {
  MSG message;
  while (::IsWindow(dialog_)) {
    BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    bool taken = false;
    try {
      taken = Filter(message);
    } catch (...) {
      failure_ = std::current_exception();
      return;
    }
    if (taken) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    if (failure_) return;
  }
}

// No exception may unwind through the system's frames: it is kept, the
// dialog closes, and Run throws it.
INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || self->failure_) return FALSE;
  try {
    if (message != WM_INITDIALOG) return self->Handle(message, wParam, lParam);
    self->dialog_ = dialog;
    self->Build();
    return FALSE;  // Build gave the focus
  } catch (...) {
    self->failure_ = std::current_exception();
    return FALSE;
  }
}

}  // namespace jotwell::platform::win32
