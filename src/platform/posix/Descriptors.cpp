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

LockWait::LockWait(std::string name) : name_(std::move(name)) {}

bool LockWait::Lock(int fd, int operation) {
  auto pause = std::chrono::microseconds(50);
  while (RetryOnInterrupt([&] { return ::flock(fd, operation | LOCK_NB); }) != 0) {
    if (errno != EWOULDBLOCK || Over()) return false;
    std::this_thread::sleep_for(pause);
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
  }
  return true;
}

bool LockWait::Over() {
  Clock::time_point now = Clock::now();
  if (Facts facts = FactsNow(); facts != seen_) {
    seen_ = facts;
    progressed_ = now;
  }
  bool over = now - progressed_ >= kLockPatience || now - start_ >= kLockWait;
  if (over) errno = EWOULDBLOCK;
  return over;
}

// A missing name has facts too: all zero.
LockWait::Facts LockWait::FactsNow() const {
  struct stat info {};
  ::stat(name_.c_str(), &info);
  return {info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

}  // namespace jotwell::platform::posix
