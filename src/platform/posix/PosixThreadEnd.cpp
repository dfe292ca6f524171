#include <utility>
#include <vector>

#include "platform/PerThread.h"

namespace jotwell::platform {
namespace {

using Ending = std::pair<void (*)(void*), void*>;

// How many rounds of endings have run: the first holds everything the
// thread registered; a second, made once the first has run, takes what a
// later thread-local destructor (a host's, made before the library's
// state) registers then. After that, what is made outlives the thread.
thread_local int roundsRun = 0;

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
    ++roundsRun;
  }
};

}  // namespace

void AtThreadEnd(void (*end)(void*), void* data) {
  if (roundsRun == 0) {
    thread_local Endings first;
    first.pending.emplace_back(end, data);
  } else if (roundsRun == 1) {
    thread_local Endings late;
    late.pending.emplace_back(end, data);
  }
}

}  // namespace jotwell::platform
