// Heap allocations made through operator new, counted for the tests and the
// benchmarks that prove a path allocates nothing.
#pragma once

#include <cstddef>

namespace jotwell::test {

// Allocations so far, in the whole process.
std::size_t AllocationCount();
// Makes the calling thread's next allocation throw std::bad_alloc.
void FailNextAllocation();

}  // namespace jotwell::test
