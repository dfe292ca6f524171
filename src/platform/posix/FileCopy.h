// Copying one file over another.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::posix {

// See FileSystem::CopyOver.
bool CopyOver(const String& from, const String& to);

}  // namespace jotwell::platform::posix
