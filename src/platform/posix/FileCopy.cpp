#include "platform/posix/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "jotwell/RuntimeError.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {
namespace {

// The kernel's copy where the file systems allow it (no bytes through user
// space, or none at all on a file system that shares blocks), else reads
// and writes. False when a byte could not be copied.
bool CopyBytes(int from, int to, off_t length) {
  bool kernelCopies = true;
  char buffer[1 << 16];
  for (off_t copied = 0; copied < length;) {
    ssize_t n = -1;
    if (kernelCopies) {
      n = RetryOnInterrupt([&] {
        return ::copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(length - copied), 0);
      });
      if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
        kernelCopies = false;
        continue;
      }
    } else {
      n = RetryOnInterrupt([&] { return ::read(from, buffer, sizeof buffer); });
      for (ssize_t written = 0, w; n > 0 && written < n; written += w) {
        w = RetryOnInterrupt([&] { return ::write(to, buffer + written, static_cast<size_t>(n - written)); });
        if (w <= 0) return false;
      }
    }
    if (n <= 0) return n == 0 && length == copied;
    copied += n;
  }
  return true;
}

// What the copy replaces: nothing, or a file the user may write, whose
// permission bits and owner the copy takes. A read-only file stays as it
// is, although a rename could replace it.
struct Target {
  const char* path;
  bool exists = false;
  struct stat info {};
};

// False, with errno set, when the user may not write the target.
bool MayReplace(Target& target) {
  if (::stat(target.path, &target.info) != 0) return errno == ENOENT;
  target.exists = true;
  // The owner's own bits decide for the owner, access lists included; this
  // spares a second look-up of the name in the usual case.
  if (target.info.st_uid == ::getuid()) {
    errno = EACCES;
    return (target.info.st_mode & S_IWUSR) != 0;
  }
  return ::access(target.path, W_OK) == 0;
}

// Bits that would hand out the rights of the file's owner or group, or
// change who may delete in a folder, never pass to a copy.
constexpr mode_t kPermissionBits = 0777;

// The copy's bytes, modification time and, for a file it replaces, that
// file's permission bits and, as far as the user may give them, its owner
// and group. A new copy already has the source's bits less the umask: it
// was created with them.
bool Fill(int copy, int source, const struct stat& info, const Target& target) {
  // Like the copies the other platform makes, the copy keeps the time the
  // original was last written.
  const struct timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
  if (!CopyBytes(source, copy, info.st_size) || ::futimens(copy, times) != 0) return false;
  if (!target.exists) return true;
  // Only root may give a file away, and others only to their own groups:
  // where refused, the copy stays the user's.
  if (target.info.st_uid != ::geteuid() || target.info.st_gid != ::getegid())
    static_cast<void>(::fchown(copy, target.info.st_uid, target.info.st_gid) == 0);
  return ::fchmod(copy, target.info.st_mode & kPermissionBits) == 0;
}

mode_t CreationMode(const struct stat& info, const Target& target) {
  return target.exists ? S_IRUSR | S_IWUSR : info.st_mode & kPermissionBits;
}

// How a way of copying ended: Refused when the system does not offer it
// here, as some file systems, old kernels and processes without /proc do
// for an unnamed file, or when a target appeared meanwhile.
enum class Outcome { kCopied, kFailed, kRefused };

Outcome Failure() {
  bool refused = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT ||
                 errno == EPERM || errno == EEXIST;
  return refused ? Outcome::kRefused : Outcome::kFailed;
}

// A new copy is made as a file without a name and linked in whole, so that
// neither a reader nor a copy killed halfway meets part of it, and so that
// any name the folder can hold serves.
Outcome CopyUnnamed(int source, const struct stat& info, const Target& target) {
  Descriptor copy(Open(PosixPaths().FolderOf(target.path).c_str(), O_TMPFILE | O_WRONLY,
                       CreationMode(info, target)));
  if (copy.get() < 0) return Failure();
  if (!Fill(copy.get(), source, info, target)) return Outcome::kFailed;
  const std::string self = "/proc/self/fd/" + std::to_string(copy.get());
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.path, AT_SYMLINK_FOLLOW) == 0)
    return Outcome::kCopied;
  return Failure();
}

// Calls `make` with spare names beside `path` until it does not fail for
// a name a dead writer left; -1 with errno set when it failed otherwise.
template <class Make>
int AtSpareName(const char* path, std::string& spare, Make make) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    spare = SpareNameBeside(path);
    int result = make(spare.c_str());
    if (result >= 0 || errno != EEXIST) return result;
  }
  errno = EEXIST;
  return -1;
}

// The copy under a spare name, renamed over the target once whole. A file
// without a name would need one all the same to be renamed from, and costs
// more to link in.
bool CopyNamed(int source, const struct stat& info, const Target& target) {
  std::string spare;
  Descriptor copy(AtSpareName(target.path, spare, [&](const char* name) {
    return Open(name, O_WRONLY | O_CREAT | O_EXCL, CreationMode(info, target));
  }));
  if (copy.get() < 0) return false;
  if (Fill(copy.get(), source, info, target) && ::rename(spare.c_str(), target.path) == 0)
    return true;
  int failure = errno;
  ::unlink(spare.c_str());
  errno = failure;
  return false;
}

}  // namespace

bool CopyOver(const String& from, const String& to) {
  try {
    Target target{SystemPath(to)};
    Descriptor source(Open(SystemPath(from), O_RDONLY | O_NONBLOCK));
    struct stat info {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0) return RefuseForErrno(errno);
    if (!S_ISREG(info.st_mode)) return Refuse(NotARegularFile());
    if (!MayReplace(target)) return RefuseForErrno(errno);
    if (!target.exists) {
      Outcome unnamed = CopyUnnamed(source.get(), info, target);
      if (unnamed == Outcome::kCopied) return true;
      if (unnamed == Outcome::kFailed || ::lseek(source.get(), 0, SEEK_SET) != 0)
        return RefuseForErrno(errno);
    }
    return CopyNamed(source.get(), info, target) || RefuseForErrno(errno);
  } catch (const RuntimeError& refused) {
    return Refuse(refused);
  }
}

}  // namespace jotwell::platform::posix
