// The library's message box: modal, the single button OK, the library's
// message-box title, prompt lines joined by CR LF. Error and warning boxes
// carry the critical icon and end with the closing line; notices carry the
// information icon.
#pragma once

#include <vector>

#include "jotwell/Desktop.h"

namespace jotwell {

// The last line of every error and warning box.
inline constexpr const char* kConsultAuthor =
    "Please consult the author of the application for any assistance.";

// "Error!", the lines, the closing line.
void ShowErrorBox(std::vector<String> lines);
// "Warning!", the lines, the closing line.
void ShowWarningBox(std::vector<String> lines);
// A failure named by its first line, then the closing line.
void ShowFailureBox(std::vector<String> lines);
// A plain notice.
void ShowNoticeBox(const std::vector<String>& lines);

}  // namespace jotwell
