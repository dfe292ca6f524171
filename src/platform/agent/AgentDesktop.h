// The Desktop that the agent draws: real windows, sounds and the
// clipboard. Everything the user does travels back to the thread that
// made the request, which runs the window's handlers itself. Without an
// agent it serves as the headless Desktop.
#pragma once

#include "jotwell/Desktop.h"
#include "platform/headless/StderrDesktop.h"

namespace jotwell::platform::agent {

class AgentDesktop final : public Desktop {
 public:
  void ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                      MessageIcon icon) override;
  void ShowReport(ReportWindow& window) override;
  void RefreshReport(ReportWindow& window) override;
  void ShowAbout(AboutWindow& window) override;
  void SetClipboardText(const String& text) override;
  void PlayExclamation() override;
  void Beep() override;
  void Open(const String& verb, const String& file, const String& parameters,
            const String& directory, Long showCommand) override;

 private:
  StderrDesktop headless_;
};

}  // namespace jotwell::platform::agent
