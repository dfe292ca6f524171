// The INI engine's cost per key against the bare system calls it cannot
// avoid: a key read against reading the whole file, and a key write against
// writing the same bytes to a copy, syncing it and renaming it over the file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "RatioReporter.h"
#include "platform/ini.h"

namespace {

using namespace jotwell;

std::string file;

platform::IniProfile& Ini() { return platform::Group<platform::IniProfile>::Native(); }

// A settings file of a typical size: 10 sections of 10 keys.
void WriteSettings() {
  std::string text = "; settings\r\n";
  for (int s = 0; s < 10; ++s) {
    text += "[Section " + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 10; ++k) text += "Key" + std::to_string(k) + "=value " + std::to_string(k) + "\r\n";
  }
  std::FILE* out = std::fopen(file.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
}

std::string ReadWhole() {
  std::string bytes;
  char buffer[16384];
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<size_t>(n));
  ::close(fd);
  return bytes;
}

void BM_ReadWholeFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadWhole());
}

void BM_ReadKey(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Ini().ReadProfileText("Section 9", "Key9", "", file));
}

void BM_CopySyncRename(benchmark::State& state) {
  const std::string bytes = ReadWhole(), spare = file + ".new";
  for (auto _ : state) {
    int fd = ::open(spare.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::fsync(fd);
    ::close(fd);
    ::rename(spare.c_str(), file.c_str());
  }
}

void BM_WriteKey(benchmark::State& state) {
  long n = 0;
  for (auto _ : state) Ini().WriteProfileText("Section 9", "Key9", std::to_string(++n % 10), file);
}

}  // namespace

int main(int argc, char** argv) {
  char folder[] = "/tmp/ini_bench.XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  file = std::string(folder) + "/settings.ini";
  WriteSettings();
  bench::RegisterInterleaved(5, 0.1,
                             {{"BM_ReadWholeFile", BM_ReadWholeFile},
                              {"BM_ReadKey", BM_ReadKey},
                              {"BM_CopySyncRename", BM_CopySyncRename},
                              {"BM_WriteKey", BM_WriteKey}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);

  reporter.PrintRatio("key read / whole-file read", "BM_ReadKey", "BM_ReadWholeFile");
  reporter.PrintRatio("key write / copy, fsync, rename", "BM_WriteKey", "BM_CopySyncRename");
  return 0;
}
