#include "platform/posix/SystemPath.h"

#include <dirent.h>
#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <string_view>

#include "jotwell/RuntimeError.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {

const char* SystemPath(const String& path) {
  if (path.empty() || path.find('\0') != String::npos)
    throw RuntimeError(errnum::kPathFileAccess);
  return path.c_str();
}

namespace {

// Marks a spare as ours; as many letters as mkostemp fills follow it.
constexpr std::string_view kSpareMark = ".jotwell-";
constexpr std::size_t kSpareLetters = 6;

// The longest part of a file's name its spares keep.
constexpr std::size_t kLongestKept = NAME_MAX - 1 - kSpareMark.size() - kSpareLetters;

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// ".NAME.jotwell-", which every spare of `path` starts with.
std::string SparePrefixOf(const std::string& path) {
  return "." + NameOf(path).substr(0, kLongestKept) + std::string(kSpareMark);
}

// This process's id, asked once: a forked child forgets its parent's.
pid_t ThisProcess() {
  static std::atomic<pid_t> known{0};
  static const int forgetInChildren = ::pthread_atfork(nullptr, nullptr, [] { known = 0; });
  (void)forgetInChildren;
  pid_t pid = known.load(std::memory_order_relaxed);
  if (pid == 0) known.store(pid = ::getpid(), std::memory_order_relaxed);
  return pid;
}

}  // namespace

std::string SpareTemplateBeside(const std::string& path) {
  return PosixPaths().Beside(path, SparePrefixOf(path) + std::string(kSpareLetters, 'X'));
}

// The spare's letters tell the process (its id has at most 22 bits) and 13
// bits of a serial apart: no two live opens share a name.
std::string SpareNameBeside(const std::string& path) {
  static constexpr std::string_view kLetters =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  static std::atomic<unsigned> serial{0};
  std::uint64_t tag = std::uint64_t(ThisProcess()) << 13 | (serial.fetch_add(1) & 0x1FFF);
  std::string spare = SpareTemplateBeside(path);
  for (auto letter = spare.end() - kSpareLetters; letter != spare.end(); ++letter) {
    *letter = kLetters[tag % kLetters.size()];
    tag /= kLetters.size();
  }
  return spare;
}

void RemoveSparesBeside(const std::string& path) {
  // Names cut short may share their spares' prefix with another file's,
  // whose live writer holds another lock.
  if (NameOf(path).size() > kLongestKept) return;
  DIR* folder = ::opendir(PosixPaths().FolderOf(path).c_str());
  if (!folder) return;
  const std::string prefix = SparePrefixOf(path);
  while (const dirent* entry = ::readdir(folder)) {
    std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + kSpareLetters && name.starts_with(prefix))
      ::unlinkat(::dirfd(folder), entry->d_name, 0);
  }
  ::closedir(folder);
}

}  // namespace jotwell::platform::posix
