// The one place where an errno becomes a run-time error.
#pragma once

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::posix {

Long RunTimeErrorNumberOf(int errnoValue);
// The run-time error for errnoValue, keeping errnoValue as LastDllError.
RuntimeError ErrorFromErrno(int errnoValue);

}  // namespace jotwell::platform::posix
