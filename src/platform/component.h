// The component group: where the library file itself lives, the user's
// folders it keeps files in, and loading a component library as hosts do.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

// The per-user folders the library keeps files in.
enum class UserFolder { Data, State };

// An exported function, to be cast to its own type by the caller.
using EntryPoint = void (*)();

class ComponentFile {
 public:
  virtual ~ComponentFile() = default;

  // Full path of the loaded library file. Throws RuntimeError when the
  // platform cannot tell.
  virtual String LibraryPath() = 0;
  // The library file's name as message-box titles show it.
  virtual String LibraryFileName() = 0;
  // The library's own folder among the user's data (the registration
  // record) or state (the error log when the library's folder is not
  // writable). Throws RuntimeError when the user's folders are unknown.
  virtual String UserFolderOf(UserFolder kind) = 0;
  // The same folder, made with its parents when missing. Throws
  // RuntimeError when it cannot be made.
  virtual String MakeUserFolder(UserFolder kind) = 0;
  // The address of `symbol` in the library file at `path`, loaded and kept
  // loaded. Throws RuntimeError when the file cannot be loaded (48) or lacks
  // the symbol (453).
  virtual EntryPoint LoadEntryPoint(const String& path, const char* symbol) = 0;
};

template <>
ComponentFile& Group<ComponentFile>::Native();

// Forwards every operation to `target`, the native implementation unless
// told otherwise: a test that replaces the group overrides only what it
// changes.
class ForwardingComponentFile : public ComponentFile {
 public:
  explicit ForwardingComponentFile(ComponentFile& target = Group<ComponentFile>::Native())
      : target_(target) {}

  String LibraryPath() override { return target_.LibraryPath(); }
  String LibraryFileName() override { return target_.LibraryFileName(); }
  String UserFolderOf(UserFolder kind) override { return target_.UserFolderOf(kind); }
  String MakeUserFolder(UserFolder kind) override { return target_.MakeUserFolder(kind); }
  EntryPoint LoadEntryPoint(const String& path, const char* symbol) override {
    return target_.LoadEntryPoint(path, symbol);
  }

 private:
  ComponentFile& target_;
};

inline ComponentFile& Component() { return Group<ComponentFile>::Get(); }

}  // namespace jotwell::platform
