// The component group: where the library file itself lives.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

class ComponentFile {
 public:
  virtual ~ComponentFile() = default;

  // Full path of the loaded library file. Throws RuntimeError when the
  // platform cannot tell.
  virtual String LibraryPath() = 0;
  // The library file's name as message-box titles show it.
  virtual String LibraryFileName() = 0;
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

 private:
  ComponentFile& target_;
};

inline ComponentFile& Component() { return Group<ComponentFile>::Get(); }

}  // namespace jotwell::platform
