#include "platform/headless/HeadlessDesktop.h"

#include <cstdio>

namespace jotwell::platform {

void HeadlessDesktop::PrintBlock(const String& heading, const String& body) {
  String block = "[" + heading + "]\n" + body + "\n";
  std::lock_guard lock(mutex_);
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
}

void HeadlessDesktop::ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                                     MessageIcon icon) {
  String body;
  for (const String& line : promptLines) body += line + "\n";
  PrintBlock((icon == MessageIcon::Critical ? "stop: " : "information: ") + title, body);
}

void HeadlessDesktop::ShowReport(ReportWindow& window) {
  PrintBlock("Run-Time Error (answered Abort)", window.Text());
  window.PressButton(ReportWindow::kAbortButton);
}

void HeadlessDesktop::RefreshReport(ReportWindow& window) {
  PrintBlock("Run-Time Error", window.Text());
}

void HeadlessDesktop::ShowAbout(AboutWindow& window) {
  String body;
  for (const AboutWindow::Label& label : window.Labels()) body += label.text + "\n";
  PrintBlock("About", body);
  Integer escape = 27;
  window.Form_KeyPress(escape);
}

}  // namespace jotwell::platform
