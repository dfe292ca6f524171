// The one mapping from errno to run-time errors.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix/Errno.h"

namespace jotwell {
namespace {

struct Mapping {
  int errnoValue;
  Long number;
  const char* description;
};

class ErrnoMapping : public ::testing::TestWithParam<Mapping> {};

TEST_P(ErrnoMapping, GivesTheRunTimeErrorAndKeepsErrnoAsLastDllError) {
  RuntimeError error = platform::posix::ErrorFromErrno(GetParam().errnoValue);
  EXPECT_EQ(error.Number(), GetParam().number);
  EXPECT_STREQ(error.Description(), GetParam().description);
  EXPECT_EQ(error.LastDllError(), GetParam().errnoValue);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMapping,
    ::testing::Values(Mapping{ENOSPC, 61, "Disk full"}, Mapping{EDQUOT, 61, "Disk full"},
                      Mapping{EFBIG, 61, "Disk full"}, Mapping{EIO, 57, "Device I/O error"},
                      Mapping{EACCES, 75, "Path/File access error"},
                      Mapping{EPERM, 75, "Path/File access error"},
                      Mapping{EROFS, 75, "Path/File access error"},
                      Mapping{EISDIR, 75, "Path/File access error"},
                      Mapping{ETXTBSY, 75, "Path/File access error"},
                      Mapping{ENAMETOOLONG, 75, "Path/File access error"},
                      Mapping{ELOOP, 75, "Path/File access error"},
                      Mapping{ENOENT, 76, "Path not found"}, Mapping{ENOTDIR, 76, "Path not found"},
                      Mapping{EMFILE, 67, "Too many files"}, Mapping{ENFILE, 67, "Too many files"},
                      Mapping{EAGAIN, 70, "Permission denied"},
                      Mapping{EWOULDBLOCK, 70, "Permission denied"},
                      Mapping{EBUSY, 70, "Permission denied"},
                      Mapping{ENXIO, 68, "Device unavailable"},
                      Mapping{ENODEV, 68, "Device unavailable"},
                      Mapping{EINVAL, 57, "Device I/O error"},
                      Mapping{EEXIST, 57, "Device I/O error"}, Mapping{0, 57, "Device I/O error"}));

}  // namespace
}  // namespace jotwell
