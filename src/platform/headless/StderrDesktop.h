// The headless Desktop, for no display: every box and report is one block
// on standard error, reports are answered Abort, the About window closes
// at once without a word, sounds are silent.
#pragma once

#include <mutex>

#include "jotwell/Desktop.h"

namespace jotwell::platform {

class StderrDesktop final : public Desktop {
 public:
  void ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                      MessageIcon icon) override;
  void ShowReport(ReportWindow& window) override;
  void RefreshReport(ReportWindow& window) override;
  void ShowAbout(AboutWindow& window) override;
  // No display, no clipboard: the copy is dropped.
  void SetClipboardText(const String&) override {}
  void PlayExclamation() override {}
  void Beep() override {}
  void Open(const String&, const String&, const String&, const String&, Long) override {}

 private:
  void PrintBlock(const String& heading, const String& body);

  std::mutex mutex_;
};

}  // namespace jotwell::platform
