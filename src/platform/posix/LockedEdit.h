// A file's bytes read and changed under its lock, the change stored
// atomically: what the INI engine and the recent-documents list share.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::posix {

// The new bytes for the old, or nothing to refuse the change.
using Change = std::function<std::optional<String>(std::string_view)>;

// The file's bytes, read under a shared lock: empty when it is missing,
// nothing when it is there but cannot be read. A writer that holds its lock
// past the wait leaves the bytes as they are now.
std::optional<std::string> ReadUnderLock(const String& path);

// Applies the change to the file's bytes under its lock and stores the
// result; false, with no byte changed and the reason noted (see
// platform/Refusal.h), when the change is refused or anything fails. A
// missing file is made with `createMode`'s permission bits (less the umask)
// when it is given, else the edit fails. A symbolic link is followed to the
// file it names, except one that another user planted in a sticky folder
// anyone may write: that edit fails.
//
// The result is stored whole, through a spare file renamed over the old,
// except where no file can take the old one's place (a bind-mounted file,
// one with other names, one in a folder that takes no new file): there it
// is written in place, its space had first, and a writer killed midway can
// leave part of it. Spares left by writers killed earlier go while the lock
// is held.
bool EditUnderLock(const String& path, const Change& change, std::optional<mode_t> createMode);

}  // namespace jotwell::platform::posix
