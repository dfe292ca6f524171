#include "event_write_floor.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

int event_write_floor(const char* path, const char* folder, const char* line, size_t length) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd >= 0) close(fd);

  struct statvfs volume;
  if (statvfs(folder, &volume) != 0) return -1;
  volatile unsigned long long freeBytes =
      (unsigned long long)volume.f_bavail * (unsigned long long)volume.f_frsize;
  (void)freeBytes;

  struct stat info;
  if (stat(path, &info) != 0) return -1;

  fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (flock(fd, LOCK_EX) != 0) {
    close(fd);
    return -1;
  }
  ssize_t written = write(fd, line, length);
  if (close(fd) != 0 || written != (ssize_t)length) return -1;
  return 0;
}
