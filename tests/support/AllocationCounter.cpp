// Counts heap allocations made through operator new, and can make the next
// one fail, to drive out-of-memory paths.
#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#include "support/AllocationCounter.h"

// GCC 12 takes the free() below for a mismatch with the operator new it
// replaces.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<std::size_t> allocations{0};
thread_local bool failNext = false;
}  // namespace

std::size_t jotwell::test::AllocationCount() { return allocations.load(); }
void jotwell::test::FailNextAllocation() { failNext = true; }

void* operator new(std::size_t size) {
  if (std::exchange(failNext, false)) throw std::bad_alloc();
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

// The array forms too: the sanitizers' own would not come through here.
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
