// A Desktop for tests, the library's and hosts' own: it records everything
// shown and played and answers report windows from a queue.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "jotwell/Desktop.h"

namespace jotwell::testing {

class JOTWELL_EXPORT ScriptedDesktop : public Desktop {
 public:
  enum class Kind { MessageBox, Report, About };
  struct Entry {
    Kind kind;
    String title;
    String text;  // message box: prompt lines joined by CR LF; report: the report text
    MessageIcon icon;
  };

  // Answers for the next report windows, in order: 3 Abort, 4 Retry,
  // 5 Ignore; 0 closes the window without a choice. An empty queue answers
  // Abort.
  void QueueReportChoice(Long choice);
  // Button presses for the next report window, in order (0..3). The window
  // closes at the first choice button, or without a choice after the last.
  void QueueReportButtons(std::vector<Integer> buttons);
  // Runs while the next report window is shown, before it is answered.
  void WhileNextReportShown(std::function<void()> action);
  // What the next About window gets; by default a key press closes it.
  void QueueAboutActions(std::function<void(AboutWindow&)> actions);

  std::vector<Entry> Shown() const;
  std::vector<Entry> Shown(Kind kind) const;
  int Exclamations() const;
  int Beeps() const;
  std::vector<String> Opened() const;
  String Clipboard() const;

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
  void Record(Entry entry);

  mutable std::mutex mutex_;
  std::vector<Entry> shown_;
  std::deque<std::vector<Integer>> reportButtons_;
  std::deque<std::function<void()>> whileReportShown_;
  std::deque<std::function<void(AboutWindow&)>> aboutActions_;
  int exclamations_ = 0;
  int beeps_ = 0;
  std::vector<String> opened_;
  String clipboard_;
};

}  // namespace jotwell::testing
