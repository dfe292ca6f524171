#include "platform/posix/SystemPath.h"

#include "jotwell/RuntimeError.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {

const char* SystemPath(const String& path) {
  if (path.empty() || path.find('\0') != String::npos)
    throw RuntimeError(errnum::kPathFileAccess);
  return path.c_str();
}

std::string SpareTemplateBeside(const std::string& path) {
  String name = path.substr(path.rfind('/') + 1);
  return PosixPaths().Beside(path, "." + name + ".XXXXXX");
}

}  // namespace jotwell::platform::posix
