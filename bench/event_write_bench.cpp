// The per-event cost of JotBook::WriteEventToLogFile (append, no warning,
// headless) against the literal system calls of its steps in plain C, and
// against a logger that keeps its file open and flushes every line.
#include <benchmark/benchmark.h>
#include <spdlog/logger.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <stdlib.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "RatioReporter.h"
#include "event_write_floor.h"
#include "jotwell/JotBook.h"
#include "jotwell/testing/ScriptedDesktop.h"

namespace {

using namespace jotwell;

const char kEventText[] = "Benchmark event: record saved";

std::filesystem::path folder;
Long maximumLogFileSize = 0;

class CountingSink : public JotBookEvents {
 public:
  void SuccessfulWriteToLogFile() override { ++successes; }
  void ErrorWritingToLogFile(Integer& number) override {
    ++errors;
    lastError = number;
  }
  long successes = 0;
  long errors = 0;
  Integer lastError = 0;
};
CountingSink sink;

void BM_EventWrite(benchmark::State& state) {
  JotBook book;
  book.Advise(sink);
  book.LogFileName((folder / "jotbook.log").string());
  // Large enough that the file is never restarted and the free-space
  // warning never shows: the common case.
  book.MaximumLogFileSize(maximumLogFileSize);
  const String text = kEventText;
  for (auto _ : state) book.WriteEventToLogFile(text);
  book.Unadvise(sink);
}

void BM_SyscallFloor(benchmark::State& state) {
  const std::string path = (folder / "floor.log").string();
  const std::string volume = folder.string();
  // An event line as the log writes it: date, long time, text, CR LF.
  const std::string line = std::string("12/05/1999 3:07:45 PM - ") + kEventText + "\r\n";
  // The log exists already, as it does for every append.
  if (std::FILE* created = std::fopen(path.c_str(), "ab")) std::fclose(created);
  for (auto _ : state) {
    if (event_write_floor(path.c_str(), volume.c_str(), line.data(), line.size()) != 0) {
      state.SkipWithError("the system-call floor failed");
      break;
    }
  }
}

void BM_SpdlogFlushEveryLine(benchmark::State& state) {
  auto fileSink =
      std::make_shared<spdlog::sinks::basic_file_sink_st>((folder / "spdlog.log").string());
  spdlog::logger logger("bench", fileSink);
  logger.flush_on(spdlog::level::trace);
  for (auto _ : state) logger.info(kEventText);
}

}  // namespace

int main(int argc, char** argv) {
  bench::RegisterInterleaved(5, 0.3,
                             {{"BM_EventWrite", BM_EventWrite},
                              {"BM_SyscallFloor", BM_SyscallFloor},
                              {"BM_SpdlogFlushEveryLine", BM_SpdlogFlushEveryLine}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/jotwell-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  folder = pattern;
  struct statvfs volume {};
  if (statvfs(folder.c_str(), &volume) != 0) {
    std::perror("statvfs");
    return 1;
  }
  unsigned long long freeBytes =
      static_cast<unsigned long long>(volume.f_bavail) * volume.f_frsize;
  maximumLogFileSize = static_cast<Long>(std::min<unsigned long long>(freeBytes / 2, 1'000'000'000));

  auto desktop = std::make_shared<testing::ScriptedDesktop>();
  SetDesktop(desktop);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  reporter.PrintRatio("event write / literal sequence of its steps", "BM_EventWrite",
                      "BM_SyscallFloor");
  reporter.PrintRatio("event write / spdlog flush every line", "BM_EventWrite",
                      "BM_SpdlogFlushEveryLine");

  // The measurement holds only for the path it meant to measure.
  int status = 0;
  if (sink.errors > 0) {
    std::printf("error: %ld event writes failed (last run-time error %d)\n", sink.errors,
                sink.lastError);
    status = 1;
  }
  if (!desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox).empty()) {
    std::puts("error: a message box was shown during the benchmark");
    status = 1;
  }
  SetDesktop(nullptr);
  std::filesystem::remove_all(folder);
  return status;
}
