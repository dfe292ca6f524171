#include "platform/posix/Descriptors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/posix/Retry.h"

namespace jotwell::platform::posix {

Descriptor::~Descriptor() {
  if (fd_ >= 0) ::close(fd_);
}

int Open(const char* path, int flags, mode_t mode) {
  return RetryOnInterrupt([&] { return ::open(path, flags | O_CLOEXEC | O_NOCTTY, mode); });
}

bool IsRegularFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

bool LockBefore(int fd, int operation, std::chrono::steady_clock::time_point deadline) {
  auto pause = std::chrono::microseconds(50);
  while (RetryOnInterrupt([&] { return ::flock(fd, operation | LOCK_NB); }) != 0) {
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace jotwell::platform::posix
