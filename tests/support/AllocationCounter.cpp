#include "support/TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace jotwell::test {
namespace {

std::atomic<std::size_t> allocations{0};
thread_local bool failNext = false;

}  // namespace

std::size_t AllocationCount() { return allocations.load(); }
void FailNextAllocation() { failNext = true; }

}  // namespace jotwell::test

using jotwell::test::allocations;
using jotwell::test::failNext;

void* operator new(std::size_t size) {
  if (failNext) {
    failNext = false;
    throw std::bad_alloc();
  }
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
