#include "platform/win32/ModalDialog.h"

#include <cstring>
#include <utility>

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

// However the dialog ends, even by an exception, it is closed: no message
// may reach it once this object is gone.
bool ModalDialog::Run() {
  struct Closing {
    ModalDialog& dialog;
    ~Closing() { dialog.Close(); }
  };
  bool made = false;
  {
    Closing closing{*this};
    dialog_ = ::CreateDialogIndirectParamW(ThisModule(),
                                           reinterpret_cast<const DLGTEMPLATE*>(template_.data()),
                                           nullptr, Procedure, reinterpret_cast<LPARAM>(this));
    made = dialog_ != nullptr;
    if (made && !failure_) {
      disabled_ = OtherThreadWindows(dialog_);
      for (HWND window : disabled_) ::EnableWindow(window, FALSE);
      ::ShowWindow(dialog_, SW_SHOW);
      ::SetForegroundWindow(dialog_);
      DispatchUntilClosed();
    }
  }
  if (failure_) std::rethrow_exception(failure_);
  return made;
}

// The loop may wait for a posted message when the dialog went while it
// served a sent one: a message of no meaning wakes it.
void ModalDialog::Close() {
  for (HWND window : disabled_)
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  disabled_.clear();
  if (dialog_ == nullptr) return;
  ::DestroyWindow(std::exchange(dialog_, nullptr));
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

HWND ModalDialog::AddControl(const wchar_t* kind, const std::wstring& text, DWORD style, int id,
                             DWORD extendedStyle) {
  return ::CreateWindowExW(extendedStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ThisModule(), nullptr);
}

// A quit message ends the dialog too, and is posted again for the host's
// own loop. What a handler or a host's window throws ends it as well.
void ModalDialog::DispatchUntilClosed() {
  MSG message;
  while (dialog_ != nullptr && !failure_) {
    BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (got < 0) return;
    try {
      if (Filter(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    } catch (...) {
      failure_ = std::current_exception();
    }
  }
}

// No exception may unwind through the system's frames: it is kept, the
// dialog closes, and Run throws it. The window and this object forget each
// other as the window goes, however it goes.
INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_NCDESTROY && self) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->dialog_ = nullptr;
  }
  if (self == nullptr || self->failure_) return FALSE;
  try {
    if (message != WM_INITDIALOG) return self->Handle(message, wParam, lParam);
    self->dialog_ = dialog;
    self->Build();
    return FALSE;  // the focus is given
  } catch (...) {
    self->failure_ = std::current_exception();
    return FALSE;
  }
}

}  // namespace jotwell::platform::win32
