// The cost of the error trap on the normal path: a traced call against the
// same call untraced, and proof that the traced call allocates nothing.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "RatioReporter.h"
#include "errors/Trap.h"
#include "jotwell/JotBook.h"
#include "jotwell/testing/ScriptedDesktop.h"

// Every heap allocation of the process, the library's included, comes
// through here. GCC 12 takes the free() below for a mismatch with the
// operator new it replaces.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

using namespace jotwell;

volatile long counter = 0;


constexpr Procedure kBenchTraced = "Module1![Sub BenchTraced]";

// Both stay out of line so that each iteration pays for a real call.
[[gnu::noinline]] void Untraced() { counter = counter + 1; }

[[gnu::noinline]] void Traced() {
  RunTraced(kBenchTraced, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { counter = counter + 1; }); });
}

void BM_Untraced(benchmark::State& state) {
  for (auto _ : state) Untraced();
}

void BM_Traced(benchmark::State& state) {
  for (auto _ : state) Traced();
}

// A real member: a property let and get, each traced.
void BM_JotBookProperty(benchmark::State& state) {
  JotBook& book = JotBook::Global();
  Long size = 0;
  for (auto _ : state) {
    book.MaximumLogFileSize(++size);
    benchmark::DoNotOptimize(book.MaximumLogFileSize());
  }
}

// Counts the allocations of `calls` traced calls, after a warm-up that lets
// the thread's error manager and call trace reach their working size.
long AllocationsOnNormalPath(int calls) {
  JotBook& book = JotBook::Global();
  for (int i = 0; i < 1000; ++i) {
    Traced();
    book.MaximumLogFileSize(book.MaximumLogFileSize() + 1);
  }
  long before = allocations.load();
  // The counter must see this one, or the zero below would prove nothing.
  int* probe = new int(0);
  benchmark::DoNotOptimize(probe);
  delete probe;
  if (allocations.load() == before) return -1;
  before = allocations.load();
  for (int i = 0; i < calls; ++i) {
    Traced();
    book.MaximumLogFileSize(book.MaximumLogFileSize() + 1);
  }
  return allocations.load() - before;
}

}  // namespace

int main(int argc, char** argv) {
  // The first JotBook on the thread shows the About window: keep it quiet.
  SetDesktop(std::make_shared<testing::ScriptedDesktop>());
  bench::RegisterInterleaved(5, 0.1,
                             {{"BM_Untraced", BM_Untraced},
                              {"BM_Traced", BM_Traced},
                              {"BM_JotBookProperty", BM_JotBookProperty}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  reporter.PrintRatio("traced/untraced ratio", "BM_Traced", "BM_Untraced");
  long counted = AllocationsOnNormalPath(100000);
  if (counted < 0) {
    std::puts("allocation counter not in effect");
    return 1;
  }
  std::printf("allocations on the normal path: %ld\n", counted);
  SetDesktop(nullptr);
  return counted == 0 ? 0 : 1;
}
