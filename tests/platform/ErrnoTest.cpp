// The one mapping from errno to run-time errors.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix/Errno.h"

namespace jotwell {
namespace {

struct Mapping {
  Long number;
  const char* description;
  std::vector<int> errnos;
};

class ErrnoMapping : public ::testing::TestWithParam<Mapping> {};

TEST_P(ErrnoMapping, GivesTheRunTimeErrorAndKeepsErrnoAsLastDllError) {
  for (int e : GetParam().errnos) {
    RuntimeError error = platform::posix::ErrorFromErrno(e);
    EXPECT_EQ(error.Number(), GetParam().number) << "errno " << e;
    EXPECT_STREQ(error.Description(), GetParam().description) << "errno " << e;
    EXPECT_EQ(error.LastDllError(), e);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMapping,
    ::testing::Values(
        Mapping{61, "Disk full", {ENOSPC, EDQUOT, EFBIG}},
        Mapping{75, "Path/File access error", {EACCES, EPERM, EROFS, EISDIR, ETXTBSY, ENAMETOOLONG, ELOOP}},
        Mapping{76, "Path not found", {ENOENT, ENOTDIR}},
        Mapping{67, "Too many files", {EMFILE, ENFILE}},
        Mapping{70, "Permission denied", {EAGAIN, EWOULDBLOCK, EBUSY}},
        Mapping{68, "Device unavailable", {ENXIO, ENODEV}},
        Mapping{57, "Device I/O error", {EIO, EINVAL, EEXIST, 0}}));

}  // namespace
}  // namespace jotwell
