// The Desktop of an interactive Windows session: the system's own message
// boxes, sounds, clipboard and shell, and the library's two windows drawn
// natively. Without an interactive session every call is served headless.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "platform/desktop.h"
#include "platform/win32/NativeWindows.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::Wide;

String JoinedLines(const std::vector<String>& lines) {
  String text;
  for (const String& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

class Win32Desktop final : public Desktop {
 public:
  // Owned by no window, modal for the calling thread.
  void ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                      MessageIcon icon) override {
    UINT look = icon == MessageIcon::Critical ? MB_ICONSTOP : MB_ICONINFORMATION;
    ::MessageBoxW(nullptr, Wide(JoinedLines(promptLines)).c_str(), Wide(title).c_str(),
                  MB_OK | look | MB_TASKMODAL | MB_SETFOREGROUND);
  }

  // A window that could not be made is served headless: a report nobody
  // can answer is answered Abort, never a former choice again.
  void ShowReport(ReportWindow& window) override {
    if (!win32::ShowReportWindow(window)) headless_->ShowReport(window);
  }

  void RefreshReport(ReportWindow& window) override { win32::RefreshReportWindow(window); }

  void ShowAbout(AboutWindow& window) override {
    if (!win32::ShowAboutWindow(window)) headless_->ShowAbout(window);
  }

  // Plain text in the ANSI code page, as the error log holds it; the
  // system offers it as Unicode text too. The clipboard's owner is a
  // window of the call's own, which the text outlives. Another program may
  // hold the clipboard for a moment.
  void SetClipboardText(const String& text) override {
    std::string ansi = win32::AnsiText(text);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, ansi.size() + 1);
    void* bytes = memory ? ::GlobalLock(memory) : nullptr;
    if (bytes == nullptr) {
      if (memory) ::GlobalFree(memory);
      return;
    }
    std::copy_n(ansi.c_str(), ansi.size() + 1, static_cast<char*>(bytes));
    ::GlobalUnlock(memory);
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                   nullptr);
    bool open = false;
    for (int attempt = 0; owner && !open && attempt < 20; ++attempt)
      if (!(open = ::OpenClipboard(owner))) ::Sleep(10);
    bool taken = open && ::EmptyClipboard() && ::SetClipboardData(CF_TEXT, memory) != nullptr;
    if (open) ::CloseClipboard();
    if (owner) ::DestroyWindow(owner);
    if (!taken) ::GlobalFree(memory);
  }

  void PlayExclamation() override { ::MessageBeep(MB_ICONEXCLAMATION); }
  void Beep() override { ::MessageBeep(MB_OK); }

  // Any window the shell shows belongs to the desktop.
  void Open(const String& verb, const String& file, const String& parameters,
            const String& directory, Long showCommand) override {
    auto optional = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    std::string ansiVerb = win32::AnsiText(verb), ansiParameters = win32::AnsiText(parameters),
                ansiDirectory = win32::AnsiText(directory);
    ::ShellExecuteA(::GetDesktopWindow(), optional(ansiVerb), win32::AnsiText(file).c_str(),
                    optional(ansiParameters), optional(ansiDirectory),
                    static_cast<int>(showCommand));
  }

 private:
  std::shared_ptr<Desktop> headless_ = HeadlessDesktop();
};

// A service's window station shows nothing to anybody, and without a
// display no window can be made: either way nobody could answer a box.
bool InteractiveSession() {
  USEROBJECTFLAGS flags{};
  HWINSTA station = ::GetProcessWindowStation();
  if (station != nullptr &&
      ::GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
      (flags.dwFlags & WSF_VISIBLE) == 0)
    return false;
  HWND probe =
      ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (probe == nullptr) return false;
  ::DestroyWindow(probe);
  return true;
}

}  // namespace

std::shared_ptr<Desktop> DefaultDesktop() {
  if (InteractiveSession()) return std::make_shared<Win32Desktop>();
  return HeadlessDesktop();
}

}  // namespace jotwell::platform
