// The log's message boxes: modal, the single button OK, the library's
// message-box title, prompt lines joined by CR LF.
#pragma once

#include <vector>

#include "jotwell/Desktop.h"

namespace jotwell {

// The last line of every error and warning box.
inline constexpr const char* kConsultAuthor =
    "Please consult the author of the application for any assistance.";

void ShowLogBox(const std::vector<String>& lines, MessageIcon icon = MessageIcon::Critical);

}  // namespace jotwell
