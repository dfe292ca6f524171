#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Quietly.h"
#include "platform/files.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/FolderSearch.h"
#include "platform/posix/LockedAppend.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"

namespace jotwell::platform {
namespace {

using posix::IsRegularFile;
using posix::Open;
using posix::RetryOnInterrupt;
using posix::SystemPath;

// Whether `path` opens for reading; leaves nothing open.
bool OpensForReading(const char* path) {
  int fd = Open(path, O_RDONLY | O_NONBLOCK, 0);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// Whether the permission bits show that whoever may write the file may read
// it too: each read bit sits just above its write bit.
bool WritersMayRead(mode_t mode) {
  return (mode & (S_IWUSR | S_IWGRP | S_IWOTH) & ~(mode >> 1)) == 0;
}

// The bytes the calling user may still write on a volume.
std::uint64_t FreeBytesIn(const struct statvfs& volume) {
  std::uint64_t bytes;
  if (__builtin_mul_overflow(static_cast<std::uint64_t>(volume.f_bavail),
                             static_cast<std::uint64_t>(volume.f_frsize), &bytes))
    return UINT64_MAX;
  return bytes;
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

class PosixFiles final : public FileSystem {
 public:
  // The type is asked before anything is opened: opening a device or a
  // FIFO can have effects of its own (a FIFO's waiting writer goes on).
  bool CanOpen(const String& path) override {
    return Quietly([&] {
      struct stat info {};
      if (::stat(SystemPath(path), &info) != 0 || !S_ISREG(info.st_mode)) return false;
      return OpensForReading(SystemPath(path));
    });
  }

  // Opened as the locked append opens the log, so that a FIFO or a device
  // meets no open it would not meet anyway. A missing file needs no second
  // look; one that will not open for writing may still open for reading, and
  // one that did, when its bits leave that in doubt.
  ExistingFile OpenExisting(const String& path) override {
    ExistingFile found{std::nullopt, false};
    Quietly([&] {
      const char* name = SystemPath(path);
      if (int fd = posix::OpenAppending(name); fd < 0) {
        found.canOpen = errno != ENOENT && CanOpen(path);
      } else {
        struct stat info {};
        bool known = ::fstat(fd, &info) == 0;
        found.found = FoundFile{fd, posix::IdentityOf(info)};
        found.canOpen = known && S_ISREG(info.st_mode) &&
                        (WritersMayRead(info.st_mode) || OpensForReading(name));
      }
      return found.canOpen;
    });
    return found;
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

  LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile> found) override {
    return posix::OpenLockedAppend(path, found);
  }

  void Truncate(NativeFile file, std::int64_t length) override {
    if (RetryOnInterrupt([&] { return ::ftruncate(static_cast<int>(file), length); }) != 0)
      throw posix::ErrorFromErrno(errno);
  }

  std::int64_t Write(NativeFile file, std::string_view text) override {
    if (int failure = WriteAll(static_cast<int>(file), text)) throw posix::ErrorFromErrno(failure);
    return static_cast<std::int64_t>(text.size());
  }

  void Close(NativeFile file) override {
    // Linux releases the descriptor even when close fails, so never retry.
    if (::close(static_cast<int>(file)) != 0 && errno != EINTR)
      throw posix::ErrorFromErrno(errno);
  }

  bool EraseFile(const String& path) override {
    try {
      return ::unlink(SystemPath(path)) == 0 || posix::RefuseForErrno(errno);
    } catch (const RuntimeError& refused) {
      return posix::Refuse(refused);
    }
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
    return FreeBytesIn(volume);
  }

  std::uint64_t FreeBytesOf(NativeFile file) override {
    struct statvfs volume {};
    if (RetryOnInterrupt([&] { return ::fstatvfs(static_cast<int>(file), &volume); }) != 0)
      throw posix::ErrorFromErrno(errno);
    return FreeBytesIn(volume);
  }
};

}  // namespace

template <>
FileSystem& Group<FileSystem>::Native() {
  static PosixFiles files;
  return files;
}

}  // namespace jotwell::platform
