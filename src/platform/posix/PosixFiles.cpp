#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "platform/posix/Errno.h"

namespace jotwell::platform {
namespace {

int OpenRetrying(const char* path, int flags, mode_t mode) {
  int fd;
  do fd = ::open(path, flags | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// Writes everything; false when the file refuses.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

class PosixFiles final : public FileSystem {
 public:
  bool CanOpen(const String& path) override {
    int fd = OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK, 0);
    if (fd < 0) return false;
    struct stat info {};
    bool isFile = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    ::close(fd);
    return isFile;
  }

  std::int64_t Length(const String& path) override {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw posix::ErrorFromErrno(errno);
    return info.st_size;
  }

  void AppendQuietly(const String& path, std::string_view bytes) override {
    int fd = OpenRetrying(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return;
    WriteAll(fd, bytes);
    ::close(fd);
  }
};

}  // namespace

template <>
FileSystem& Group<FileSystem>::Native() {
  static PosixFiles files;
  return files;
}

}  // namespace jotwell::platform
