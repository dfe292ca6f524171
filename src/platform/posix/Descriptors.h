// What the POSIX backends do with descriptors alike: open them safely, tell
// a regular file, and wait for a lock without waiting forever.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <utility>

namespace jotwell::platform::posix {

// How long a reader or writer waits for another writer to finish.
inline constexpr auto kLockWait = std::chrono::seconds(5);

// Owns a descriptor and closes it when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&&) = delete;
  ~Descriptor();
  int get() const { return fd_; }

 private:
  int fd_;
};

// open(2), retried on EINTR. Descriptors never leak into programs the host
// starts, and a terminal opened by mistake never becomes the host's
// controlling one. -1 with errno set on failure.
int Open(const char* path, int flags, mode_t mode = 0);
bool IsRegularFile(int fd);
// Polls for the `operation` lock (LOCK_EX or LOCK_SH) until the deadline: a
// blocking lock could not give up. False with errno set when not had
// (EWOULDBLOCK once the deadline has passed).
bool LockBefore(int fd, int operation, std::chrono::steady_clock::time_point deadline);

}  // namespace jotwell::platform::posix
