// Waiting in tests of real windows: for a condition, and for a call made
// on another thread as a host's thread makes it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

// Every window test speaks in times and bytes.
using namespace std::chrono_literals;
using namespace std::string_literals;

namespace jotwell::test {

// Whether `condition` holds within `limit`, asking every 50 ms.
inline bool Eventually(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = 10s) {
  for (auto deadline = std::chrono::steady_clock::now() + limit;;
       std::this_thread::sleep_for(50ms)) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
  }
}

// Work on another thread, as a host's thread calling the library.
struct Caller {
  explicit Caller(std::function<void()> work)
      : done_(std::async(std::launch::async, std::move(work))) {}
  bool Returned(std::chrono::milliseconds within = 0ms) {
    return done_.wait_for(within) == std::future_status::ready;
  }
  // Waits for the work to end; fails the test when it does not in time.
  void Join() { ASSERT_TRUE(Returned(20s)) << "the call did not return"; }
  std::future<void> done_;
};

}  // namespace jotwell::test
