#include "platform/posix/LockedEdit.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "jotwell/RuntimeError.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {
namespace {

// Links followed before a loop of them is given up, as the system does.
constexpr int kMaxLinks = 40;

// A FIFO never blocks the open.
int OpenNonBlocking(const char* path, int flags, mode_t mode = 0) {
  return posix::Open(path, flags | O_NONBLOCK, mode);
}

// Room for the whole file at once: growing by doubling would hold up to
// twice its size.
std::optional<std::string> ReadAll(int fd) {
  std::string bytes;
  struct stat facts {};
  if (::fstat(fd, &facts) == 0 && facts.st_size > 0)
    bytes.reserve(static_cast<std::size_t>(facts.st_size));
  char buffer[16384];
  for (;;) {
    ssize_t n = RetryOnInterrupt(
        [&] { return ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(bytes.size())); });
    if (n < 0) return std::nullopt;
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  for (off_t at = 0; !bytes.empty();) {
    ssize_t n = RetryOnInterrupt([&] { return ::pwrite(fd, bytes.data(), bytes.size(), at); });
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    at += n;
  }
  return true;
}

// Whether the link lies in a sticky folder that anyone may write, and is
// neither ours nor the folder owner's: anyone could have planted it there
// to turn our write onto another file. The system refuses to follow such a
// link only where it is told to; a write refuses it always.
bool Planted(int folder, const struct stat& link) {
  struct stat shared {};
  if (::fstat(folder, &shared) != 0) return true;
  bool open = (shared.st_mode & S_ISVTX) && (shared.st_mode & S_IWOTH);
  return open && link.st_uid != ::geteuid() && link.st_uid != shared.st_uid;
}

// The file a write replaces: a symbolic link leads to its target, so that
// the link stays a link. Each link is checked and read through one open of
// it, so that it cannot be swapped in between. Nothing, with errno set, for
// a loop of links or one that cannot be read; a planted link is an access
// error.
std::optional<std::string> Target(std::string path) {
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    Descriptor folder(posix::Open(PosixPaths().FolderOf(path).c_str(), O_PATH | O_DIRECTORY));
    if (folder.get() < 0) return std::nullopt;
    std::string leaf = path.substr(path.rfind('/') + 1);
    Descriptor link(::openat(folder.get(), leaf.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (link.get() < 0 || ::fstat(link.get(), &info) != 0)
      return errno == ENOENT ? std::optional(path) : std::nullopt;
    if (!S_ISLNK(info.st_mode)) return path;
    if (Planted(folder.get(), info)) throw ErrorFromErrno(EACCES);
    char to[PATH_MAX];
    ssize_t n = ::readlinkat(link.get(), "", to, sizeof to);
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) == sizeof to) {
      errno = ENAMETOOLONG;
      return std::nullopt;
    }
    std::string text(to, static_cast<std::size_t>(n));
    path = text.starts_with('/') ? text : PosixPaths().Beside(path, text);
  }
  errno = ELOOP;
  return std::nullopt;
}

bool NamesFile(const char* name, int fd) {
  struct stat opened {}, named {};
  return ::fstat(fd, &opened) == 0 && ::lstat(name, &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

struct LockedFile {
  Descriptor file;
  bool created;
};

// Opens the file for reading and writing (so a read-only file is refused
// even where a rename could replace it) and locks it. The file locked is
// the one the name names once the lock is held: another writer may have
// renamed a new file over it meanwhile. The name is the end of its links:
// a link put in its place meanwhile is not followed. Nothing, with errno
// set, when it cannot.
std::optional<LockedFile> OpenLocked(const char* name, std::optional<mode_t> createMode) {
  LockWait wait(name);
  int failure = EBUSY;
  while (!wait.Over()) {
    int fd = OpenNonBlocking(name, O_RDWR | O_NOFOLLOW);
    bool created = false;
    if (fd < 0 && errno == ENOENT && createMode) {
      fd = OpenNonBlocking(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, *createMode);
      if (fd < 0 && errno == EEXIST) continue;
      created = fd >= 0;
    }
    if (fd < 0) return std::nullopt;
    LockedFile locked{Descriptor(fd), created};
    bool regular = IsRegularFile(fd);
    if (!regular || !wait.Lock(fd, LOCK_EX)) {
      if (created && NamesFile(name, fd)) ::unlink(name);
      if (!regular) failure = EISDIR;
      break;
    }
    if (NamesFile(name, fd)) return locked;
  }
  errno = failure;
  return std::nullopt;
}

// Has the file hold at least `length` bytes, their blocks allocated; on
// failure the file keeps its old length.
bool Reserve(int fd, off_t length) {
  struct stat before {};
  if (::fstat(fd, &before) != 0) return false;
  int failure;
  while ((failure = ::posix_fallocate(fd, 0, length)) == EINTR) {
  }
  if (failure != 0) ::ftruncate(fd, before.st_size);
  return failure == 0;
}

// The locked file's own bytes replaced in place, where no copy can take its
// place. Every writer takes the lock we hold, and the space is had before
// the first byte changes, so a full disk leaves the old bytes; only a crash
// midway could leave part of the change.
bool WriteInPlace(int fd, std::string_view bytes) {
  off_t length = static_cast<off_t>(bytes.size());
  return (length == 0 || Reserve(fd, length)) && WriteAll(fd, bytes) &&
         RetryOnInterrupt([&] { return ::ftruncate(fd, length); }) == 0 && ::fsync(fd) == 0;
}

// Makes a rename durable; a folder that cannot be synced still holds it.
void SyncFolder(const std::string& folder) {
  int fd = OpenNonBlocking(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the bytes to a new file beside `name`, with its owner and
// permission bits, and renames it over `name`: a reader sees the old bytes
// or the new, never a mix, and a failure leaves the original untouched. A
// copy that cannot be made, or not be given the original's owner, would
// leave the file unwritable or hand it to another user, one renamed over a
// file with other names would part it from them, and a file mounted over
// its name (a bind mount) cannot be renamed over: the bytes then go in
// place.
bool Replace(const std::string& name, int locked, std::string_view bytes) {
  struct stat original {};
  if (::fstat(locked, &original) != 0) return false;
  if (original.st_nlink > 1) return WriteInPlace(locked, bytes);
  std::string spare = SpareTemplateBeside(name);
  int fd = ::mkostemp(spare.data(), O_CLOEXEC);
  if (fd < 0)
    return (errno == EACCES || errno == EPERM || errno == ENAMETOOLONG) &&
           WriteInPlace(locked, bytes);
  bool owned = ::fchown(fd, original.st_uid, original.st_gid) == 0;
  bool written = owned && ::fchmod(fd, original.st_mode & 07777) == 0 && WriteAll(fd, bytes) &&
                 ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  bool renamed = written && ::rename(spare.c_str(), name.c_str()) == 0;
  bool mounted = written && !renamed && errno == EBUSY;
  if (renamed) {
    SyncFolder(PosixPaths().FolderOf(name));
    return true;
  }
  ::unlink(spare.c_str());
  return (!owned || mounted) && WriteInPlace(locked, bytes);
}

}  // namespace

std::optional<std::string> ReadUnderLock(const String& path) {
  try {
    Descriptor file(OpenNonBlocking(SystemPath(path), O_RDONLY));
    if (file.get() < 0) return errno == ENOENT ? std::optional(std::string()) : std::nullopt;
    if (!IsRegularFile(file.get())) return std::nullopt;
    LockWait(path).Lock(file.get(), LOCK_SH);
    return ReadAll(file.get());
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

bool EditUnderLock(const String& path, const Change& change, std::optional<mode_t> createMode) {
  try {
    std::optional<std::string> name = Target(SystemPath(path));
    if (!name) return RefuseForErrno(errno);
    std::optional<LockedFile> locked = OpenLocked(name->c_str(), createMode);
    if (!locked) return RefuseForErrno(errno);
    RemoveSparesBeside(*name);
    int fd = locked->file.get();
    std::optional<std::string> before = ReadAll(fd);
    std::optional<String> after = before ? change(*before) : std::nullopt;
    if (after && (*after == *before || Replace(*name, fd, *after))) return true;
    RuntimeError why =
        before && !after ? RuntimeError(errnum::kPathFileAccess) : ErrorFromErrno(errno);
    if (locked->created) ::unlink(name->c_str());
    return Refuse(why);
  } catch (const RuntimeError& refused) {
    return Refuse(refused);
  }
}

}  // namespace jotwell::platform::posix
