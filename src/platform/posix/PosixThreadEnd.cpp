#include <utility>
#include <vector>

#include "platform/PerThread.h"

namespace jotwell::platform {
namespace {

using Ending = std::pair<void (*)(void*), void*>;

thread_local bool ended = false;

// Destroyed with the thread's other thread-local objects, while their
// storage is still there. An ending registered while the endings run (a
// destructor that uses the library again) runs in turn.
struct Endings {
  std::vector<Ending> pending;
  ~Endings() {
    while (!pending.empty()) {
      Ending ending = pending.back();
      pending.pop_back();
      ending.first(ending.second);
    }
    ended = true;
  }
};

}  // namespace

void AtThreadEnd(void (*end)(void*), void* data) {
  if (ended) return;
  thread_local Endings endings;
  endings.pending.emplace_back(end, data);
}

}  // namespace jotwell::platform
