#include "base/ThreadState.h"

namespace jotwell {

ThreadState& ThisThread() {
  thread_local ThreadState state;
  return state;
}

}  // namespace jotwell
