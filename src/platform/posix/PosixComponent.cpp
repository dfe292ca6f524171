#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <sys/stat.h>

#include <cerrno>

#include "platform/component.h"
#include "platform/posix/Errno.h"
#include "platform/posix/UserFolders.h"

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

  String UserFolderOf(UserFolder kind) override { return posix::XdgFolder(kind) + "/jotwell"; }

  String MakeUserFolder(UserFolder kind) override {
    String folder = UserFolderOf(kind);
    MakeFolders(folder);
    return folder;
  }

  EntryPoint LoadEntryPoint(const String& path, const char* symbol) override {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) throw RuntimeError(errnum::kErrorInLoadingDll, ::dlerror());
    void* entry = ::dlsym(library, symbol);
    if (entry == nullptr) throw RuntimeError(errnum::kDllFunctionNotFound);
    return reinterpret_cast<EntryPoint>(entry);
  }

 private:
  // Each missing folder of `path` in turn; the user's alone may read them.
  static void MakeFolders(const String& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
      String folder = path.substr(0, slash);
      if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw posix::ErrorFromErrno(errno);
      if (slash == String::npos) return;
    }
  }
};

}  // namespace

template <>
ComponentFile& Group<ComponentFile>::Native() {
  static PosixComponent component;
  return component;
}

}  // namespace jotwell::platform
