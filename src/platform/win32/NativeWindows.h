// The report window and the About window as the system's own windows, in
// the calling thread, laid out in twips.
#pragma once

#include "jotwell/Desktop.h"

namespace jotwell::platform::win32 {

// Each shows its window modally and returns once it is closed; false when
// the window could not be made.
bool ShowReportWindow(ReportWindow& window);
bool ShowAboutWindow(AboutWindow& window);
// Puts the window's new text into the report window it shows, if any.
void RefreshReportWindow(ReportWindow& window);

}  // namespace jotwell::platform::win32
