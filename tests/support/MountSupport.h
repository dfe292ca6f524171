// File systems mounted for one forked child alone.
#pragma once

#include <sched.h>
#include <sys/mount.h>

namespace jotwell::test {

// Gives the calling process a mount namespace of its own, where nothing it
// mounts reaches the rest of the system, and mounts a file system of `type`
// over `target` there. False when refused: it needs root.
inline bool MountPrivately(const char* type, const char* target, const char* options = nullptr) {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount(type, target, type, 0, options) == 0;
}

}  // namespace jotwell::test
