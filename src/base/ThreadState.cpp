#include "base/ThreadState.h"

#include "platform/PerThread.h"

namespace jotwell {

ThreadState& ThisThread() { return platform::PerThread<ThreadState>(); }

}  // namespace jotwell
