// The one place where an errno becomes a run-time error.
#pragma once

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::posix {

Long RunTimeErrorNumberOf(int errnoValue);
// The run-time error for errnoValue, keeping errnoValue as LastDllError.
RuntimeError ErrorFromErrno(int errnoValue);
// A path that names no regular file (a FIFO, a device, a socket) where the
// library writes one: a path/file access error, keeping errnoValue.
RuntimeError NotARegularFile(int errnoValue = 0);

// For an operation that answers a refusal with false: notes why (see
// platform/Refusal.h) and answers false.
bool Refuse(const RuntimeError& why);
inline bool RefuseForErrno(int errnoValue) { return Refuse(ErrorFromErrno(errnoValue)); }

}  // namespace jotwell::platform::posix
