// Why the calling thread's last refused platform operation was refused.
// Operations whose contract answers a refusal with false (or passes it over)
// note the run-time error that says why before they return, as the system's
// own last-error code does.
#pragma once

#include "jotwell/RuntimeError.h"

namespace jotwell::platform {

void NoteRefusal(const RuntimeError& why);
void ForgetRefusal();
// The reason noted since ForgetRefusal; a device I/O error (57) when the
// operation could not tell.
RuntimeError LastRefusal();

}  // namespace jotwell::platform
