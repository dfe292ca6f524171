#include "platform/headless/StderrDesktop.h"

#include <cstdio>

namespace jotwell::platform {

void StderrDesktop::PrintBlock(const String& heading, const String& body) {
  String block = "[" + heading + "]\n" + body + "\n";
  std::lock_guard lock(mutex_);
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
}

void StderrDesktop::ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                                     MessageIcon icon) {
  String body;
  for (const String& line : promptLines) body += line + "\n";
  PrintBlock((icon == MessageIcon::Critical ? "stop: " : "information: ") + title, body);
}

void StderrDesktop::ShowReport(ReportWindow& window) {
  PrintBlock("Run-Time Error (answered Abort)", window.Text());
  window.PressButton(ReportWindow::kAbortButton);
}

void StderrDesktop::RefreshReport(ReportWindow& window) {
  PrintBlock("Run-Time Error", window.Text());
}

// Nobody can click it and its closing is no failure: nothing to tell.
void StderrDesktop::ShowAbout(AboutWindow& window) {
  Integer escape = 27;
  window.KeyPressed(escape);
}

}  // namespace jotwell::platform

namespace jotwell {

std::shared_ptr<Desktop> HeadlessDesktop() { return std::make_shared<platform::StderrDesktop>(); }

}  // namespace jotwell
