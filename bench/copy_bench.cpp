// Pattern copies against cp copying the same files: a thousand small files
// and one large one, each into a folder that already holds the copies, so
// both sides overwrite.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "jotwell/Desktop.h"
#include "jotwell/JotBook.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string folder;

std::string Source(const char* set) { return folder + "/" + set + "/"; }
std::string Destination(const char* set, const char* side) { return folder + "/" + side + "-" + set + "/"; }

void WriteFile(const std::string& path, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  std::string block(1 << 20, 'j');
  for (std::size_t left = size; left > 0; left -= std::min(left, block.size()))
    out.write(block.data(), static_cast<std::streamsize>(std::min(left, block.size())));
}

void MakeSets() {
  fs::create_directory(Source("small"));
  for (int i = 0; i < 1000; ++i) WriteFile(Source("small") + "file" + std::to_string(i) + ".dat", 4096);
  fs::create_directory(Source("large"));
  WriteFile(Source("large") + "large.dat", std::size_t(256) << 20);
}

// cp with every file of the set named on its command line, as a shell
// expands "SOURCE/*.dat".
void RunCp(const char* set) {
  std::vector<std::string> words = {"cp"};
  for (const auto& entry : fs::directory_iterator(Source(set))) words.push_back(entry.path().string());
  words.push_back(Destination(set, "cp"));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child;
  int status = 0;
  if (::posix_spawnp(&child, "cp", nullptr, nullptr, argv.data(), environ) != 0 ||
      ::waitpid(child, &status, 0) != child || status != 0)
    std::abort();
}

template <const char* set>
void BM_CopyFiles(benchmark::State& state) {
  static jotwell::JotBook book;
  for (auto _ : state) benchmark::DoNotOptimize(book.CopyFiles(Source(set), Destination(set, "jotwell"), "*.dat"));
}

template <const char* set>
void BM_Cp(benchmark::State& state) {
  fs::create_directory(Destination(set, "cp"));
  for (auto _ : state) RunCp(set);
}

constexpr char kSmall[] = "small";
constexpr char kLarge[] = "large";

}  // namespace

int main(int argc, char** argv) {
  char made[] = "/var/tmp/copy_bench.XXXXXX";
  if (!::mkdtemp(made)) return 1;
  folder = made;
  MakeSets();
  jotwell::SetDesktop(jotwell::HeadlessDesktop());
  jotwell::bench::RegisterInterleaved(5, 0.5,
                                      {{"BM_CopyFiles/1000 small", BM_CopyFiles<kSmall>},
                                       {"BM_Cp/1000 small", BM_Cp<kSmall>},
                                       {"BM_CopyFiles/256 MiB", BM_CopyFiles<kLarge>},
                                       {"BM_Cp/256 MiB", BM_Cp<kLarge>}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  jotwell::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove_all(folder);

  reporter.PrintRatio("CopyFiles / cp, 1000 small files", "BM_CopyFiles/1000 small", "BM_Cp/1000 small");
  reporter.PrintRatio("CopyFiles / cp, one 256 MiB file", "BM_CopyFiles/256 MiB", "BM_Cp/256 MiB");
  return 0;
}
