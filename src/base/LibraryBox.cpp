#include "base/LibraryBox.h"

#include "base/LibraryFacts.h"

namespace jotwell {

void ShowFailureBox(std::vector<String> lines) {
  lines.emplace_back(kConsultAuthor);
  CurrentDesktop()->ShowMessageBox(MessageBoxTitle(), lines, MessageIcon::Critical);
}

void ShowErrorBox(std::vector<String> lines) {
  lines.insert(lines.begin(), "Error!");
  ShowFailureBox(std::move(lines));
}

void ShowWarningBox(std::vector<String> lines) {
  lines.insert(lines.begin(), "Warning!");
  ShowFailureBox(std::move(lines));
}

void ShowNoticeBox(const std::vector<String>& lines) {
  CurrentDesktop()->ShowMessageBox(MessageBoxTitle(), lines, MessageIcon::Information);
}

}  // namespace jotwell
