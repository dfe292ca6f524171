// The cost of the error trap on the normal path: a traced call against the
// same call untraced, a traced JotBook property against a plain one, and
// proof that traced calls allocate nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "RatioReporter.h"
#include "errors/Trap.h"
#include "jotwell/JotBook.h"
#include "jotwell/testing/ScriptedDesktop.h"
#include "support/AllocationCounter.h"

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

// A property kept behind a pointer as JotBook keeps its state, untraced.
class PlainBook {
 public:
  [[gnu::noinline]] Long MaximumLogFileSize() { return fields_->size; }
  [[gnu::noinline]] void MaximumLogFileSize(Long size) { fields_->size = size; }

 private:
  struct Fields {
    Long size = 0;
  };
  std::unique_ptr<Fields> fields_ = std::make_unique<Fields>();
};

void BM_Untraced(benchmark::State& state) {
  for (auto _ : state) Untraced();
}

void BM_Traced(benchmark::State& state) {
  for (auto _ : state) Traced();
}

// A property let and get.
template <class Book>
void LetAndGet(benchmark::State& state, Book& book) {
  Long size = 0;
  for (auto _ : state) {
    book.MaximumLogFileSize(++size);
    benchmark::DoNotOptimize(book.MaximumLogFileSize());
  }
}

void BM_PlainProperty(benchmark::State& state) {
  PlainBook book;
  LetAndGet(state, book);
}

void BM_JotBookProperty(benchmark::State& state) { LetAndGet(state, JotBook::Global()); }

// Counts the allocations of `calls` traced calls, after a warm-up that lets
// the thread's error manager and call trace reach their working size.
long AllocationsOnNormalPath(int calls) {
  JotBook& book = JotBook::Global();
  for (int i = 0; i < 1000; ++i) {
    Traced();
    book.MaximumLogFileSize(book.MaximumLogFileSize() + 1);
  }
  long before = static_cast<long>(test::AllocationCount());
  // The counter must see this one, or the zero below would prove nothing.
  auto probe = std::make_unique<int>(0);
  benchmark::DoNotOptimize(probe.get());
  if (static_cast<long>(test::AllocationCount()) == before) return -1;
  before = static_cast<long>(test::AllocationCount());
  for (int i = 0; i < calls; ++i) {
    Traced();
    book.MaximumLogFileSize(book.MaximumLogFileSize() + 1);
  }
  return static_cast<long>(test::AllocationCount()) - before;
}

}  // namespace

int main(int argc, char** argv) {
  // The first JotBook on the thread shows the About window: keep it quiet.
  SetDesktop(std::make_shared<testing::ScriptedDesktop>());
  bench::RegisterInterleaved(5, 0.1,
                             {{"BM_Untraced", BM_Untraced},
                              {"BM_Traced", BM_Traced},
                              {"BM_PlainProperty", BM_PlainProperty},
                              {"BM_JotBookProperty", BM_JotBookProperty}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  reporter.PrintRatio("traced/untraced ratio", "BM_Traced", "BM_Untraced");
  reporter.PrintRatio("JotBook property let and get / plain property", "BM_JotBookProperty",
                      "BM_PlainProperty");
  long counted = AllocationsOnNormalPath(100000);
  if (counted < 0) {
    std::puts("allocation counter not in effect");
    return 1;
  }
  std::printf("allocations on the normal path: %ld\n", counted);
  SetDesktop(nullptr);
  return counted == 0 ? 0 : 1;
}
