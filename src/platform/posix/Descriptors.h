// What the POSIX backends do with descriptors alike: open them safely, tell
// a regular file, and wait for a lock without waiting forever.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace jotwell::platform::posix {

// How long a reader or writer waits for another to finish: as long as the
// file shows progress at least every kLockPatience, and kLockWait in all.
inline constexpr auto kLockPatience = std::chrono::seconds(5);
inline constexpr auto kLockWait = std::chrono::seconds(60);

// Owns a descriptor and closes it when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&&) = delete;
  ~Descriptor();
  int get() const { return fd_; }
  // Hands the descriptor on, to be closed by the taker.
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// open(2), retried on EINTR. Descriptors never leak into programs the host
// starts, and a terminal opened by mistake never becomes the host's
// controlling one. -1 with errno set on failure.
int Open(const char* path, int flags, mode_t mode = 0);
bool IsRegularFile(int fd);

// One wait for the lock of the file a name names. Writers ahead of us show
// progress on that name: a new file renamed over it, or its length or
// modification time changed. The wait gives up once the name has shown none
// for kLockPatience, and after kLockWait in all: a holder that makes no
// progress is stuck, or holds the lock on purpose.
class LockWait {
 public:
  explicit LockWait(std::string name);
  // Polls for the `operation` lock (LOCK_EX or LOCK_SH) on `fd`: a blocking
  // lock could not give up. False with errno set when not had (EWOULDBLOCK
  // once the wait is over).
  bool Lock(int fd, int operation);
  // Whether the wait has given up.
  bool Over();

 private:
  using Clock = std::chrono::steady_clock;
  using Facts = std::tuple<ino_t, off_t, std::int64_t, long>;  // inode, length, time

  Facts FactsNow() const;

  std::string name_;
  Clock::time_point start_ = Clock::now(), progressed_ = start_;
  // Looked at only once the lock is found taken: the lock that is free at
  // once, as it is for most writes, costs no system call more.
  std::optional<Facts> seen_;
};

}  // namespace jotwell::platform::posix
