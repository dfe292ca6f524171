// Pattern copies against cp copying the same files: a thousand small files
// into an empty folder, the same files over the copies already there, and
// one large file into an empty folder. The folder is made under
// $COPY_BENCH_FOLDER (default /var/tmp); the output names its file system,
// since what a copy costs is mostly what that file system does.
#include <benchmark/benchmark.h>
#include <linux/magic.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/vfs.h>
#include <sys/wait.h>

#include <cstdio>
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

enum class Target { kNew, kExisting };

constexpr char kSmall[] = "small";
constexpr char kLarge[] = "large";

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

const char* FileSystemName(const std::string& path) {
  struct statfs info {};
  if (::statfs(path.c_str(), &info) != 0) return "unknown";
  switch (info.f_type) {
    case TMPFS_MAGIC: return "tmpfs";
    case EXT4_SUPER_MAGIC: return "ext2/3/4";
    case BTRFS_SUPER_MAGIC: return "btrfs";
    case XFS_SUPER_MAGIC: return "xfs";
    case OVERLAYFS_SUPER_MAGIC: return "overlay";
    case NFS_SUPER_MAGIC: return "nfs";
    default: return "other";
  }
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

void RunCopyFiles(const char* set) {
  static jotwell::JotBook book;
  benchmark::DoNotOptimize(book.CopyFiles(Source(set), Destination(set, "jotwell"), "*.dat"));
}

// A fresh empty folder at `destination`, the old one moved aside rather than
// deleted: on some file systems (ext4) deleting many files makes the next
// files made slower to create for a while, which would time the deletion.
void EmptyFolder(const std::string& destination) {
  static int moved = 0;
  if (fs::exists(destination)) fs::rename(destination, folder + "/aside" + std::to_string(++moved));
  fs::create_directory(destination);
}

// Each side copies into an emptied folder, or over its own earlier copies;
// emptying is not timed.
template <void (*copy)(const char*), const char* side, const char* set, Target target>
void BM_Copy(benchmark::State& state) {
  std::string destination = Destination(set, side);
  EmptyFolder(destination);
  if (target == Target::kExisting) copy(set);
  for (auto _ : state) {
    if (target == Target::kNew) {
      state.PauseTiming();
      if (set == kLarge) fs::remove_all(destination);
      EmptyFolder(destination);
      state.ResumeTiming();
    }
    copy(set);
  }
}

constexpr char kJotwell[] = "jotwell";
constexpr char kCp[] = "cp";

}  // namespace

int main(int argc, char** argv) {
  const char* parent = std::getenv("COPY_BENCH_FOLDER");
  std::string made = std::string(parent ? parent : "/var/tmp") + "/copy_bench.XXXXXX";
  if (!::mkdtemp(made.data())) return 1;
  folder = made;
  MakeSets();
  const char* fileSystem = FileSystemName(folder);
  jotwell::SetDesktop(jotwell::HeadlessDesktop());
  jotwell::bench::RegisterInterleaved(
      5, 0.5,
      {{"BM_CopyFiles/1000 new", BM_Copy<RunCopyFiles, kJotwell, kSmall, Target::kNew>},
       {"BM_Cp/1000 new", BM_Copy<RunCp, kCp, kSmall, Target::kNew>},
       {"BM_CopyFiles/1000 over", BM_Copy<RunCopyFiles, kJotwell, kSmall, Target::kExisting>},
       {"BM_Cp/1000 over", BM_Copy<RunCp, kCp, kSmall, Target::kExisting>},
       {"BM_CopyFiles/256 MiB new", BM_Copy<RunCopyFiles, kJotwell, kLarge, Target::kNew>},
       {"BM_Cp/256 MiB new", BM_Copy<RunCp, kCp, kLarge, Target::kNew>}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  jotwell::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove_all(folder);

  std::printf("file system of %s: %s\n", folder.c_str(), fileSystem);
  reporter.PrintRatio("CopyFiles / cp, 1000 new files of 4 KiB", "BM_CopyFiles/1000 new",
                      "BM_Cp/1000 new");
  reporter.PrintRatio("CopyFiles / cp, 1000 files of 4 KiB over their copies",
                      "BM_CopyFiles/1000 over", "BM_Cp/1000 over");
  reporter.PrintRatio("CopyFiles / cp, one new 256 MiB file", "BM_CopyFiles/256 MiB new",
                      "BM_Cp/256 MiB new");
  return 0;
}
