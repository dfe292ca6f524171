#include "logfile/LogBox.h"

#include "component/LibraryFacts.h"

namespace jotwell {

void ShowLogBox(const std::vector<String>& lines, MessageIcon icon) {
  CurrentDesktop()->ShowMessageBox(MessageBoxTitle(), lines, icon);
}

}  // namespace jotwell
