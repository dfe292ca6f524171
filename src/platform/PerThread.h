// State the library keeps once per thread. A plain thread_local object
// will not do everywhere: where the system frees a thread's storage before
// the destructors of its thread-local objects run (Windows' emulated TLS),
// they would run on freed memory. So each thread's objects live on the heap
// and the backend destroys them when the thread ends, the newest first.
#pragma once

#include <utility>

namespace jotwell::platform {

// Runs `end(data)` when the calling thread ends, after every ending
// registered later. An ending registered once the thread's endings have run
// never runs: what it would free outlives the thread.
void AtThreadEnd(void (*end)(void*), void* data);

namespace detail {
template <class T>
T*& PerThreadCache() {
  thread_local T* instance = nullptr;
  return instance;
}
}  // namespace detail

// The calling thread's T, made with `make` (which returns a new T) on first
// use and destroyed when the thread ends. One T per thread and type: every
// caller of PerThread<T> shares it.
template <class T, class Make>
T& PerThread(Make make) {
  T*& cached = detail::PerThreadCache<T>();
  if (cached != nullptr) return *cached;
  T* made = make();
  cached = made;
  AtThreadEnd(
      [](void* object) {
        // Looked up afresh: the thread's storage may have been renewed.
        T*& cache = detail::PerThreadCache<T>();
        if (cache == object) cache = nullptr;
        delete static_cast<T*>(object);
      },
      made);
  return *made;
}

template <class T>
T& PerThread() {
  return PerThread<T>([] { return new T(); });
}

}  // namespace jotwell::platform
