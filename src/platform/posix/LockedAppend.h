// The log's locked append on POSIX: a file opened for appending and locked,
// created already locked when missing.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/files.h"

namespace jotwell::platform::posix {

// Opens `path` for appending under an exclusive flock, as
// FileSystem::OpenLockedAppend promises.
LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile> found);

// The file's identity as OpenLockedAppend compares it with what a name names.
FileIdentity IdentityOf(const struct stat& info);

// Opens `path` for appending, with `flags` added, as the log is opened.
// Never blocks: a FIFO without a reader fails at once (ENXIO). -1 with errno
// set on failure.
int OpenAppending(const char* path, int flags = 0);

}  // namespace jotwell::platform::posix
