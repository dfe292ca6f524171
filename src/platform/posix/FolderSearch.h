// The file search: a folder's entries whose names match a pattern.
#pragma once

#include <vector>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::posix {

// See FileSystem::FindFiles.
std::vector<String> FindMatching(const String& pattern);

}  // namespace jotwell::platform::posix
