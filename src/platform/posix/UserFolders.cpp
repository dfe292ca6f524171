#include "platform/posix/UserFolders.h"

#include <cstdlib>

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::posix {

String XdgFolder(UserFolder kind) {
  bool data = kind == UserFolder::Data;
  const char* set = std::getenv(data ? "XDG_DATA_HOME" : "XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  if (set != nullptr && set[0] == '/') return set;
  if (home != nullptr && home[0] == '/') return String(home) + (data ? "/.local/share" : "/.local/state");
  throw RuntimeError(errnum::kPathNotFound);
}

}  // namespace jotwell::platform::posix
