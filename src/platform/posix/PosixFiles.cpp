#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/files.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/FolderSearch.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"

namespace jotwell::platform {
namespace {

using posix::IsRegularFile;
using posix::kLockWait;
using posix::LockBefore;
using posix::Open;
using posix::RetryOnInterrupt;
using posix::SystemPath;

// Runs an operation that answers its failures, a refused name among them,
// with false rather than reporting them.
template <class Operation>
bool Quietly(Operation operation) {
  try {
    return operation();
  } catch (const RuntimeError&) {
    return false;
  }
}


// Opens `path` for appending, with `flags` added. Never blocks: a FIFO
// without a reader fails at once, and is no log file either.
int OpenAppending(const char* path, int flags) {
  int fd = Open(path, O_WRONLY | O_APPEND | O_NONBLOCK | flags, 0666);
  if (fd < 0 && errno == ENXIO) throw posix::NotARegularFile(ENXIO);
  return fd;
}

// Writes everything; 0, or the errno of the failure (a write that takes
// nothing counts as a full disk).
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = RetryOnInterrupt([&] { return ::write(fd, bytes.data(), bytes.size()); });
    if (n < 0) return errno;
    if (n == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

using Clock = std::chrono::steady_clock;

// Opens that keep racing with another process's create or delete before we
// settle for a plain create.
constexpr int kExclusiveCreateTries = 3;

// The locked file's length, or nothing when another process deleted the
// file while we waited for the lock. Writers restart a log by truncating it,
// never by replacing it, so a file still linked is the one the path names.
// A FIFO or a device is no log: writing to it could block or reach a device.
std::optional<std::int64_t> LengthIfStillLinked(int fd) {
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) throw posix::ErrorFromErrno(errno);
  if (!S_ISREG(opened.st_mode)) throw posix::NotARegularFile();
  if (opened.st_nlink == 0) return std::nullopt;
  return opened.st_size;
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

// Creates the missing file already locked, so that no other writer can lock
// it, and find it empty, before its creator has written to it: the file is
// made and locked under `privateName`, then linked to `path`, which fails
// when `path` exists meanwhile. Returns -1 with errno set on failure.
int CreateLocked(const char* path, const char* privateName) {
  int fd = OpenAppending(privateName, O_CREAT | O_EXCL);
  if (fd < 0) return -1;
  bool locked = RetryOnInterrupt([&] { return ::flock(fd, LOCK_EX); }) == 0;
  int linked = locked ? ::link(privateName, path) : -1;
  int failure = errno;
  ::unlink(privateName);
  if (linked == 0) return fd;
  ::close(fd);
  errno = failure;
  return -1;
}

// Opens for appending and tells whether this open created the file;
// nothing when another process created it between our two tries.
std::optional<LockedFile> OpenForAppend(const char* path, const char* spareName, int attempt) {
  int fd = OpenAppending(path, 0);
  if (fd >= 0) return LockedFile{fd, false, 0};
  if (errno != ENOENT) throw posix::ErrorFromErrno(errno);
  // A dangling link never lets an exclusive create succeed, and some file
  // systems cannot link: then a plain create will do.
  if (attempt < kExclusiveCreateTries) {
    fd = CreateLocked(path, spareName);
    if (fd >= 0) return LockedFile{fd, true, 0};
    if (errno == EEXIST) return std::nullopt;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK)
      throw posix::ErrorFromErrno(errno);
  }
  fd = OpenAppending(path, O_CREAT);
  if (fd >= 0) return LockedFile{fd, true, 0};
  throw posix::ErrorFromErrno(errno);
}

class PosixFiles final : public FileSystem {
 public:
  // The type is asked before anything is opened: opening a device or a
  // FIFO can have effects of its own (a FIFO's waiting writer goes on).
  bool CanOpen(const String& path) override {
    return Quietly([&] {
      struct stat info {};
      if (::stat(SystemPath(path), &info) != 0 || !S_ISREG(info.st_mode)) return false;
      int fd = Open(SystemPath(path), O_RDONLY | O_NONBLOCK, 0);
      if (fd < 0) return false;
      ::close(fd);
      return true;
    });
  }

  std::int64_t Length(const String& path) override {
    struct stat info {};
    if (::stat(SystemPath(path), &info) != 0) throw posix::ErrorFromErrno(errno);
    return info.st_size;
  }

  bool AppendQuietly(const String& path, std::string_view bytes) override {
    bool opened = false;
    Quietly([&] {
      int fd = Open(SystemPath(path), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK, 0644);
      if (fd < 0) return false;
      opened = true;
      if (IsRegularFile(fd)) WriteAll(fd, bytes);
      return ::close(fd) == 0;
    });
    return opened;
  }

  String ProcessTag() override { return std::to_string(ThisProcess()); }

  LockedFile OpenLockedAppend(const String& path, const String& spareName) override {
    const char* name = SystemPath(path);
    const char* spare = SystemPath(spareName);
    Clock::time_point deadline = Clock::now() + kLockWait;
    for (int attempt = 0;; ++attempt) {
      std::optional<LockedFile> opened = OpenForAppend(name, spare, attempt);
      if (!opened) continue;
      int fd = static_cast<int>(opened->file);
      try {
        if (!LockBefore(fd, LOCK_EX, deadline)) throw posix::ErrorFromErrno(errno);
        if (std::optional<std::int64_t> length = LengthIfStillLinked(fd)) {
          opened->length = *length;
          return *opened;
        }
      } catch (...) {
        ::close(fd);
        throw;
      }
      ::close(fd);
      if (Clock::now() >= deadline) throw posix::ErrorFromErrno(EWOULDBLOCK);
    }
  }

  void Truncate(NativeFile file, std::int64_t length) override {
    if (RetryOnInterrupt([&] { return ::ftruncate(static_cast<int>(file), length); }) != 0)
      throw posix::ErrorFromErrno(errno);
  }

  void Write(NativeFile file, std::string_view bytes) override {
    if (int failure = WriteAll(static_cast<int>(file), bytes)) throw posix::ErrorFromErrno(failure);
  }

  void Close(NativeFile file) override {
    // Linux releases the descriptor even when close fails, so never retry.
    if (::close(static_cast<int>(file)) != 0 && errno != EINTR)
      throw posix::ErrorFromErrno(errno);
  }

  bool EraseFile(const String& path) override {
    return Quietly([&] { return ::unlink(SystemPath(path)) == 0; });
  }

  bool MakeFolder(const String& path) override {
    return Quietly([&] { return ::mkdir(SystemPath(path), 0777) == 0; });
  }

  std::vector<String> FindFiles(const String& pattern) override {
    try {
      return posix::FindMatching(pattern);
    } catch (const RuntimeError&) {
      return {};
    }
  }

  bool CopyOver(const String& from, const String& to) override { return posix::CopyOver(from, to); }

  std::uint64_t FreeBytes(const String& folder) override {
    struct statvfs volume {};
    if (RetryOnInterrupt([&] { return ::statvfs(SystemPath(folder), &volume); }) != 0)
      throw posix::ErrorFromErrno(errno);
    std::uint64_t bytes;
    if (__builtin_mul_overflow(static_cast<std::uint64_t>(volume.f_bavail),
                               static_cast<std::uint64_t>(volume.f_frsize), &bytes))
      return UINT64_MAX;
    return bytes;
  }
};

}  // namespace

template <>
FileSystem& Group<FileSystem>::Native() {
  static PosixFiles files;
  return files;
}

}  // namespace jotwell::platform
