// The one place where a Windows error code becomes a run-time error.
#pragma once

#include <windows.h>

#include "jotwell/RuntimeError.h"

namespace jotwell::platform::win32 {

// The run-time error number for `code`: the same situation gives the same
// number as on every other platform.
Long RunTimeErrorNumberOf(DWORD code);
// The run-time error for `code`, keeping `code` as LastDllError.
RuntimeError ErrorFromCode(DWORD code);
// The run-time error for the calling thread's last error code.
RuntimeError LastSystemError();

// For an operation that answers a refusal with false: notes why (see
// platform/Refusal.h) and answers false.
bool Refuse(const RuntimeError& why);
bool RefuseForLastError();

}  // namespace jotwell::platform::win32
