// A thread's endings run from a fiber-local storage callback, which the
// system makes for every thread that ends, whoever made it. The endings are
// found through the system's own thread-local slot: the compiler's emulated
// thread-local storage may already be freed when the callback runs.
#include <windows.h>

#include <utility>
#include <vector>

#include "platform/PerThread.h"

namespace jotwell::platform {
namespace {

using Endings = std::vector<std::pair<void (*)(void*), void*>>;

// What the slot holds once the thread's endings have run.
Endings* const kEnded = reinterpret_cast<Endings*>(1);

void NTAPI RunEndings(void* data);

// Freed when the library is unloaded, so that no ending of a thread still
// running can call into a library that is gone.
struct Slots {
  DWORD endings = TlsAlloc();
  DWORD trigger = FlsAlloc(RunEndings);
  ~Slots() {
    FlsFree(trigger);
    TlsFree(endings);
  }
} slots;

// An ending registered while the endings run (a destructor that uses the
// library again) runs in turn.
void NTAPI RunEndings(void* data) {
  auto* pending = static_cast<Endings*>(data);
  while (!pending->empty()) {
    auto [end, object] = pending->back();
    pending->pop_back();
    end(object);
  }
  delete pending;
  TlsSetValue(slots.endings, kEnded);
}

}  // namespace

void AtThreadEnd(void (*end)(void*), void* data) {
  auto* pending = static_cast<Endings*>(TlsGetValue(slots.endings));
  if (pending == kEnded) return;
  if (pending == nullptr) {
    pending = new Endings;
    TlsSetValue(slots.endings, pending);
    FlsSetValue(slots.trigger, pending);
  }
  pending->emplace_back(end, data);
}

}  // namespace jotwell::platform
