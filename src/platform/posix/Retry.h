// System calls interrupted by a signal are made again, so a host that
// handles signals never sees a spurious failure. close is the exception:
// Linux releases the descriptor even when close reports EINTR, and a retry
// could close a descriptor another thread has been given meanwhile.
#pragma once

#include <cerrno>

namespace jotwell::platform::posix {

// Calls `call` until it returns something other than -1 with errno EINTR,
// and returns that.
template <class Call>
auto RetryOnInterrupt(Call call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace jotwell::platform::posix
