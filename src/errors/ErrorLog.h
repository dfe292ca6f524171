// The error log file beside the library: every report, appended.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell {

// The library folder, a separator unless the folder is a root, the library
// name and ".ErrorLog.txt".
String ErrorLogPath(const String& libraryFolder);

}  // namespace jotwell
