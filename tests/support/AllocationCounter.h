// Counts heap allocations made through operator new, and can make the next
// one fail, to drive out-of-memory paths.
#pragma once

#include <cstddef>

namespace jotwell::test {

std::size_t AllocationCount();
// The next allocation on the calling thread throws std::bad_alloc.
void FailNextAllocation();

}  // namespace jotwell::test
