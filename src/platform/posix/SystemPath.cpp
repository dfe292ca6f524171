#include "platform/posix/SystemPath.h"

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::posix {

const char* SystemPath(const String& path) {
  if (path.empty() || path.find('\0') != String::npos)
    throw RuntimeError(errnum::kPathFileAccess);
  return path.c_str();
}

}  // namespace jotwell::platform::posix
