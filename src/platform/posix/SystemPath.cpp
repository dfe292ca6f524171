#include "platform/posix/SystemPath.h"

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::posix {

const char* SystemPath(const String& path) {
  if (path.empty() || path.find('\0') != String::npos)
    throw RuntimeError(errnum::kPathFileAccess);
  return path.c_str();
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SpareTemplateBeside(const std::string& path) {
  return FolderOf(path) + "/." + path.substr(path.rfind('/') + 1) + ".XXXXXX";
}

}  // namespace jotwell::platform::posix
