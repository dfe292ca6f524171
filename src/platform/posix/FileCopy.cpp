#include "platform/posix/FileCopy.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "jotwell/RuntimeError.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/Retry.h"
#include "platform/posix/SystemPath.h"

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

// The target may be replaced: it is missing, or a file the user may write.
// A read-only file stays as it is, although a rename could replace it.
bool MayReplace(const char* target) {
  return ::access(target, W_OK) == 0 || errno == ENOENT;
}

}  // namespace

bool CopyOver(const String& from, const String& to) {
  try {
    const char* target = SystemPath(to);
    Descriptor source(Open(SystemPath(from), O_RDONLY | O_NONBLOCK));
    struct stat info {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0) return RefuseForErrno(errno);
    if (!S_ISREG(info.st_mode)) return Refuse(NotARegularFile());
    if (!MayReplace(target)) return RefuseForErrno(errno);
    std::string spare = SpareTemplateBeside(target);
    Descriptor copy(::mkostemp(spare.data(), O_CLOEXEC));
    if (copy.get() < 0) return RefuseForErrno(errno);
    // Like the copies the other platform makes, the copy keeps the time the
    // original was last written.
    const struct timespec times[2] = {{0, UTIME_OMIT}, info.st_mtim};
    bool copied = CopyBytes(source.get(), copy.get(), info.st_size) &&
                  ::fchmod(copy.get(), info.st_mode & 07777) == 0 &&
                  ::futimens(copy.get(), times) == 0 && ::rename(spare.c_str(), target) == 0;
    if (copied) return true;
    int failure = errno;
    ::unlink(spare.c_str());
    return RefuseForErrno(failure);
  } catch (const RuntimeError& refused) {
    return Refuse(refused);
  }
}

}  // namespace jotwell::platform::posix
