#include "platform/posix/LockedAppend.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {
namespace {

// Opens that keep racing with another process's create or delete before we
// settle for a plain create.
constexpr int kExclusiveCreateTries = 3;

// Why the log would not open: a FIFO without a reader is no log file.
RuntimeError OpenFailure(int errnoValue) {
  return errnoValue == ENXIO ? NotARegularFile(ENXIO) : ErrorFromErrno(errnoValue);
}

// The locked file's status, or nothing when `path` no longer names it: it
// was deleted, or renamed aside (a log rotated by hand keeps what it holds),
// while we waited for the lock. A FIFO or a device is no log: writing to it
// could block or reach a device.
std::optional<struct stat> StatusIfStillNamed(const std::string& path, FileIdentity locked) {
  struct stat named {};
  if (::stat(path.c_str(), &named) != 0) {
    if (errno == ENOENT) return std::nullopt;
    throw ErrorFromErrno(errno);
  }
  if (IdentityOf(named) != locked) return std::nullopt;
  if (!S_ISREG(named.st_mode)) throw NotARegularFile();
  return named;
}

FileIdentity IdentityOfOpen(int fd) {
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) throw ErrorFromErrno(errno);
  return IdentityOf(opened);
}

// Creates the missing file already locked, so that no other writer can lock
// it, and find it empty, before its creator has written to it: the file is
// made and locked under a spare name, then linked to `path`, which fails
// when `path` exists meanwhile. A writer holding the lock of a log made
// meanwhile may remove the spare before it is linked: that fails as the
// log existing does. Returns -1 with errno set on failure.
int CreateLocked(const std::string& path) {
  std::string spare = SpareNameBeside(path);
  int fd = OpenAppending(spare.c_str(), O_CREAT | O_EXCL);
  if (fd < 0) return -1;
  bool locked = RetryOnInterrupt([&] { return ::flock(fd, LOCK_EX); }) == 0;
  int linked = locked ? ::link(spare.c_str(), path.c_str()) : -1;
  int failure = locked && linked != 0 && errno == ENOENT ? EEXIST : errno;
  ::unlink(spare.c_str());
  if (linked == 0) return fd;
  ::close(fd);
  errno = failure;
  return -1;
}

// Opens for appending and tells whether this open created the file;
// nothing when another process created it between our two tries.
std::optional<LockedFile> OpenForAppend(const std::string& path, int attempt) {
  int fd = OpenAppending(path.c_str());
  if (fd >= 0) return LockedFile{fd, false, 0};
  if (errno != ENOENT) throw OpenFailure(errno);
  // A dangling link never lets an exclusive create succeed, and some file
  // systems cannot link: then a plain create will do.
  if (attempt < kExclusiveCreateTries) {
    fd = CreateLocked(path);
    if (fd >= 0) return LockedFile{fd, true, 0};
    if (errno == EEXIST) return std::nullopt;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) throw ErrorFromErrno(errno);
  }
  fd = OpenAppending(path.c_str(), O_CREAT);
  if (fd >= 0) return LockedFile{fd, true, 0};
  throw OpenFailure(errno);
}

}  // namespace

int OpenAppending(const char* path, int flags) {
  return Open(path, O_WRONLY | O_APPEND | O_NONBLOCK | flags, 0666);
}

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile> found) {
  Descriptor handed(found ? static_cast<int>(found->file) : -1);
  const std::string name = SystemPath(path);
  LockWait wait(name);
  for (int attempt = 0;;) {
    // The file found open goes first; should the name no longer name it
    // once locked, the name is opened again like any other time.
    std::optional<LockedFile> opened =
        handed.get() >= 0 ? LockedFile{handed.release(), false, 0} : OpenForAppend(name, attempt++);
    if (!opened) continue;
    int fd = static_cast<int>(opened->file);
    try {
      if (!wait.Lock(fd, LOCK_EX)) throw ErrorFromErrno(errno);
      // The found file's identity was read when it was found, which spares
      // the event write a call.
      FileIdentity identity =
          found ? std::exchange(found, std::nullopt)->identity : IdentityOfOpen(fd);
      if (std::optional<struct stat> status = StatusIfStillNamed(name, identity)) {
        // A creator killed before it removed its spare left it behind: a
        // second name of the log, or an empty file where the log was
        // missing until this open made it.
        if (opened->created || status->st_nlink > 1) RemoveSparesBeside(name);
        opened->length = status->st_size;
        return *opened;
      }
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    if (wait.Over()) throw ErrorFromErrno(EWOULDBLOCK);
  }
}

}  // namespace jotwell::platform::posix
