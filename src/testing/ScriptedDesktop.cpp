#include "jotwell/testing/ScriptedDesktop.h"

#include <utility>

namespace jotwell::testing {

namespace {

String JoinLines(const std::vector<String>& lines) {
  String text;
  for (const String& line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

String AboutText(const AboutWindow& window) {
  std::vector<String> lines;
  for (const AboutWindow::Label& label : window.Labels()) lines.push_back(label.text);
  return JoinLines(lines);
}

}  // namespace

void ScriptedDesktop::QueueReportChoice(Long choice) {
  switch (choice) {
    case 3: QueueReportButtons({ReportWindow::kAbortButton}); break;
    case 4: QueueReportButtons({ReportWindow::kRetryButton}); break;
    case 5: QueueReportButtons({ReportWindow::kIgnoreButton}); break;
    default: QueueReportButtons({}); break;
  }
}

void ScriptedDesktop::QueueReportButtons(std::vector<Integer> buttons) {
  std::lock_guard lock(mutex_);
  reportButtons_.push_back(std::move(buttons));
}

void ScriptedDesktop::WhileNextReportShown(std::function<void()> action) {
  std::lock_guard lock(mutex_);
  whileReportShown_.push_back(std::move(action));
}

void ScriptedDesktop::QueueAboutActions(std::function<void(AboutWindow&)> actions) {
  std::lock_guard lock(mutex_);
  aboutActions_.push_back(std::move(actions));
}

std::vector<ScriptedDesktop::Entry> ScriptedDesktop::Shown() const {
  std::lock_guard lock(mutex_);
  return shown_;
}

std::vector<ScriptedDesktop::Entry> ScriptedDesktop::Shown(Kind kind) const {
  std::lock_guard lock(mutex_);
  std::vector<Entry> matching;
  for (const Entry& entry : shown_)
    if (entry.kind == kind) matching.push_back(entry);
  return matching;
}

int ScriptedDesktop::Exclamations() const {
  std::lock_guard lock(mutex_);
  return exclamations_;
}

int ScriptedDesktop::Beeps() const {
  std::lock_guard lock(mutex_);
  return beeps_;
}

std::vector<String> ScriptedDesktop::Opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

String ScriptedDesktop::Clipboard() const {
  std::lock_guard lock(mutex_);
  return clipboard_;
}

void ScriptedDesktop::Record(Entry entry) {
  std::lock_guard lock(mutex_);
  shown_.push_back(std::move(entry));
}

void ScriptedDesktop::ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                                     MessageIcon icon) {
  Record({Kind::MessageBox, title, JoinLines(promptLines), icon});
}

void ScriptedDesktop::ShowReport(ReportWindow& window) {
  Record({Kind::Report, "Run-Time Error", window.Text(), MessageIcon::Critical});
  std::function<void()> whileShown;
  std::vector<Integer> buttons{ReportWindow::kAbortButton};
  {
    std::lock_guard lock(mutex_);
    if (!whileReportShown_.empty()) {
      whileShown = std::move(whileReportShown_.front());
      whileReportShown_.pop_front();
    }
    if (!reportButtons_.empty()) {
      buttons = std::move(reportButtons_.front());
      reportButtons_.pop_front();
    }
  }
  if (whileShown) whileShown();
  for (Integer button : buttons) {
    if (!window.IsLoaded()) break;
    window.PressButton(button);
  }
}

void ScriptedDesktop::RefreshReport(ReportWindow& window) {
  Record({Kind::Report, "Run-Time Error", window.Text(), MessageIcon::Critical});
}

void ScriptedDesktop::ShowAbout(AboutWindow& window) {
  Record({Kind::About, "", AboutText(window), MessageIcon::Information});
  std::function<void(AboutWindow&)> actions;
  {
    std::lock_guard lock(mutex_);
    if (!aboutActions_.empty()) {
      actions = std::move(aboutActions_.front());
      aboutActions_.pop_front();
    }
  }
  if (actions) {
    actions(window);
  } else {
    Integer enter = 13;
    window.KeyPressed(enter);
  }
}

void ScriptedDesktop::SetClipboardText(const String& text) {
  std::lock_guard lock(mutex_);
  clipboard_ = text;
}

void ScriptedDesktop::PlayExclamation() {
  std::lock_guard lock(mutex_);
  ++exclamations_;
}

void ScriptedDesktop::Beep() {
  std::lock_guard lock(mutex_);
  ++beeps_;
}

void ScriptedDesktop::Open(const String&, const String& file, const String&, const String&, Long) {
  std::lock_guard lock(mutex_);
  opened_.push_back(file);
}

}  // namespace jotwell::testing
