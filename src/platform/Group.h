// How a platform group is reached: the backend's native implementation,
// unless a test has installed a replacement (a fault-injecting wrapper).
#pragma once

#include <atomic>

namespace jotwell::platform {

template <class Interface>
class Group {
 public:
  static Interface& Get() {
    Interface* replacement = installed_.load(std::memory_order_acquire);
    return replacement ? *replacement : Native();
  }
  // nullptr restores the native implementation. Returns the replacement
  // installed before, so that a scope can put it back.
  static Interface* Install(Interface* replacement) {
    return installed_.exchange(replacement, std::memory_order_acq_rel);
  }
  // Defined by the backend. A group the backend does not serve yet is
  // never reached, so nothing refers to its Native().
  static Interface& Native();

 private:
  static inline std::atomic<Interface*> installed_{nullptr};
};

}  // namespace jotwell::platform
