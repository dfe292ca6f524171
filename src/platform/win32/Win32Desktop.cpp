// The Desktop of an interactive Windows session: the system's own message
// boxes, sounds, clipboard and shell. The report and the About window are
// message boxes too, until they are drawn as windows of their own. Without
// an interactive session every call is served headless.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "platform/desktop.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::Wide;

// Shows a box owned by no window, modal for the calling thread; its answer.
int ShowBox(const String& title, const String& text, UINT style) {
  return ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(),
                       style | MB_TASKMODAL | MB_SETFOREGROUND);
}

String JoinedLines(const std::vector<String>& lines) {
  String text;
  for (const String& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

class Win32Desktop final : public Desktop {
 public:
  void ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                      MessageIcon icon) override {
    ShowBox(title, JoinedLines(promptLines),
            MB_OK | (icon == MessageIcon::Critical ? MB_ICONSTOP : MB_ICONINFORMATION));
  }

  // A box that could not be shown answers nothing: the window counts as
  // closed without a choice.
  void ShowReport(ReportWindow& window) override {
    switch (ShowBox("Run-Time Error", window.Text(), MB_ABORTRETRYIGNORE | MB_ICONSTOP)) {
      case IDABORT: return window.PressButton(ReportWindow::kAbortButton);
      case IDRETRY: return window.PressButton(ReportWindow::kRetryButton);
      case IDIGNORE: return window.PressButton(ReportWindow::kIgnoreButton);
      default: return;
    }
  }

  // The box shown keeps its text: a message box cannot take another.
  void RefreshReport(ReportWindow&) override {}

  // Any button closes it, as a key that produces a character does.
  void ShowAbout(AboutWindow& window) override {
    String title;
    std::vector<String> lines;
    for (const AboutWindow::Label& label : window.Labels())
      label.role == AboutWindow::Role::Title ? void(title = label.text)
                                             : lines.push_back(label.text);
    ShowBox(title, JoinedLines(lines), MB_OK | MB_ICONINFORMATION);
    Integer enter = 13;
    window.KeyPressed(enter);
  }

  void SetClipboardText(const String& text) override {
    std::wstring wide = Wide(text);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (memory == nullptr) return;
    if (void* bytes = ::GlobalLock(memory)) {
      std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(bytes));
      ::GlobalUnlock(memory);
    }
    // The clipboard owns the memory once it took it.
    if (::OpenClipboard(nullptr)) {
      bool taken = ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      ::CloseClipboard();
      if (taken) return;
    }
    ::GlobalFree(memory);
  }

  void PlayExclamation() override { ::MessageBeep(MB_ICONEXCLAMATION); }
  void Beep() override { ::MessageBeep(MB_OK); }

  void Open(const String& verb, const String& file, const String& parameters,
            const String& directory, Long showCommand) override {
    auto optional = [](const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); };
    std::wstring wideVerb = Wide(verb), wideParameters = Wide(parameters),
                 wideDirectory = Wide(directory);
    ::ShellExecuteW(nullptr, optional(wideVerb), Wide(file).c_str(), optional(wideParameters),
                    optional(wideDirectory), static_cast<int>(showCommand));
  }
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
