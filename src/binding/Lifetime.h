// What keeps the library loaded: live objects (component objects, class
// factories, enumerators), factory locks and event connections.
#pragma once

#include <atomic>

namespace jotwell::binding {

class Lifetime {
 public:
  static void Acquire() { count_.fetch_add(1, std::memory_order_relaxed); }
  static void ReleaseOne() { count_.fetch_sub(1, std::memory_order_relaxed); }
  static bool Idle() { return count_.load(std::memory_order_relaxed) == 0; }

  // A host's lock on the server. Unlocking more often than locking changes
  // nothing: it must not let the library go while objects are alive.
  static void Lock() {
    locks_.fetch_add(1, std::memory_order_relaxed);
    Acquire();
  }
  static void Unlock() {
    for (long held = locks_.load(std::memory_order_relaxed); held > 0;)
      if (locks_.compare_exchange_weak(held, held - 1, std::memory_order_relaxed)) return ReleaseOne();
  }

 private:
  static inline std::atomic<long> count_{0};
  static inline std::atomic<long> locks_{0};
};

// Holds the library loaded for as long as it lives.
struct Alive {
  Alive() { Lifetime::Acquire(); }
  ~Alive() { Lifetime::ReleaseOne(); }
  Alive(const Alive&) = delete;
  Alive& operator=(const Alive&) = delete;
};

}  // namespace jotwell::binding
