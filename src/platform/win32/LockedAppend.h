// The log's locked append on Windows: a file opened for writing under an
// exclusive lock of its whole range, made with writing shared with nobody
// when missing.
#pragma once

#include "platform/files.h"

namespace jotwell::platform::win32 {

// Opens `path` for appending under an exclusive lock, as
// FileSystem::OpenLockedAppend promises.
LockedFile OpenLockedAppend(const String& path);

}  // namespace jotwell::platform::win32
