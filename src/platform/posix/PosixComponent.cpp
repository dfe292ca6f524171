#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cerrno>

#include "platform/component.h"
#include "platform/posix/Errno.h"

namespace jotwell::platform {
namespace {

// Any symbol of the library tells dladdr which file it came from.
void Anchor() {}

class PosixComponent final : public ComponentFile {
 public:
  String LibraryPath() override {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&Anchor), &info) == 0 ||
        info.dli_fname == nullptr)
      throw RuntimeError(errnum::kFileNotFound);
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) == nullptr) throw posix::ErrorFromErrno(errno);
    return resolved;
  }

  String LibraryFileName() override { return "libjotwell.so"; }
};

}  // namespace

template <>
ComponentFile& Group<ComponentFile>::Native() {
  static PosixComponent component;
  return component;
}

}  // namespace jotwell::platform
