// Wine reports a crashed program's exit code unreliably: a crash ends the
// test program with this code of its own instead.
#include <windows.h>

namespace {

constexpr UINT kCrashed = 0xC0DE;

LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS*) { ::ExitProcess(kCrashed); }

[[maybe_unused]] const bool installed = (::SetUnhandledExceptionFilter(ExitOnCrash), true);

}  // namespace
