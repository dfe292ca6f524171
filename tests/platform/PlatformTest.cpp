// The errno mapping and both path dialects, whichever is native.
#include <gtest/gtest.h>

#include <cerrno>

#include "base/PathDialect.h"
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

struct Completion {
  const PathDialect& dialect;
  const char *name, *folder, *expected;
};

class PathCompletion : public ::testing::TestWithParam<Completion> {};

TEST_P(PathCompletion, PrependsTheFolderToIncompleteNames) {
  EXPECT_EQ(GetParam().dialect.Complete(GetParam().name, GetParam().folder), GetParam().expected);
}

// Windows: complete means ":" at position 2 or later and "\" at 3 or later.
INSTANTIATE_TEST_SUITE_P(
    Names, PathCompletion,
    ::testing::Values(Completion{WindowsPaths(), "C:\\logs\\app.log", "F:\\lib", "C:\\logs\\app.log"},
                      Completion{WindowsPaths(), "logs\\app.log", "F:\\lib", "F:\\lib\\logs\\app.log"},
                      Completion{WindowsPaths(), "C:app.log", "F:\\lib", "F:\\lib\\C:app.log"},
                      Completion{WindowsPaths(), "\\\\server\\share\\f", "F:\\lib", "F:\\lib\\\\\\server\\share\\f"},
                      Completion{WindowsPaths(), ":\\x", "F:\\lib", "F:\\lib\\:\\x"},
                      Completion{WindowsPaths(), "a\\b:c", "F:\\lib", "F:\\lib\\a\\b:c"},
                      Completion{WindowsPaths(), "ab:\\c", "F:\\lib", "ab:\\c"},
                      Completion{WindowsPaths(), "C:/logs/app.log", "F:\\lib", "F:\\lib\\C:/logs/app.log"},
                      Completion{WindowsPaths(), "app.log", "D:\\", "D:\\\\app.log"},
                      Completion{PosixPaths(), "/var/log/app.log", "/opt/lib", "/var/log/app.log"},
                      Completion{PosixPaths(), "logs/app.log", "/opt/lib", "/opt/lib/logs/app.log"},
                      Completion{PosixPaths(), "C:\\app.log", "/opt/lib", "/opt/lib/C:\\app.log"},
                      Completion{PosixPaths(), "app.log", "/", "//app.log"}));

TEST(PathDialects, FolderOfAndJoinKeepASeparatorOnlyForARoot) {
  EXPECT_EQ(WindowsPaths().FolderOf("C:\\Apps\\Jotwell.dll"), "C:\\Apps");
  EXPECT_EQ(WindowsPaths().FolderOf("D:\\Jotwell.dll"), "D:\\");
  EXPECT_EQ(PosixPaths().FolderOf("/usr/lib/libjotwell.so"), "/usr/lib");
  EXPECT_EQ(PosixPaths().FolderOf("/libjotwell.so"), "/");
  EXPECT_EQ(WindowsPaths().Join("C:\\Apps", "x"), "C:\\Apps\\x");
  EXPECT_EQ(WindowsPaths().Join("D:\\", "x"), "D:\\x");
  EXPECT_EQ(PosixPaths().Join("/", "x"), "/x");
  EXPECT_EQ(PosixPaths().Join("/opt", "x"), "/opt/x");
}

// Each row walks from a log's name up to where the walk stops.
TEST(PathDialects, VolumeFolderWalksUpToTheRootOrTheCurrentFolder) {
  auto walk = [](const PathDialect& dialect, std::string path) {
    std::vector<std::string> folders;
    for (std::string folder = dialect.VolumeFolderOf(path); folders.size() < 10;
         folder = dialect.VolumeFolderOf(folder)) {
      folders.push_back(folder);
      if (dialect.VolumeFolderOf(folder) == folder) break;
    }
    return folders;
  };
  using Walk = std::vector<std::string>;
  EXPECT_EQ(walk(PosixPaths(), "/var/log/app.log"), (Walk{"/var/log", "/var", "/"}));
  EXPECT_EQ(walk(PosixPaths(), "logs/app.log"), (Walk{"logs", "."}));
  EXPECT_EQ(walk(PosixPaths(), "app.log"), (Walk{"."}));
  EXPECT_EQ(walk(PosixPaths(), ""), (Walk{"/"}));
  EXPECT_EQ(walk(WindowsPaths(), "D:\\logs\\app.log"), (Walk{"D:\\logs", "D:\\"}));
  EXPECT_EQ(walk(WindowsPaths(), "C:app.log"), (Walk{"."}));
  EXPECT_EQ(walk(WindowsPaths(), ""), (Walk{"C:\\"}));
}

TEST(PathDialects, SpareNameLiesBesideTheFile) {
  EXPECT_EQ(PosixPaths().SpareNameBeside("/var/log/app.log", "7-3"), "/var/log/.jotwell-new-7-3");
  EXPECT_EQ(PosixPaths().SpareNameBeside("app.log", "7-3"), ".jotwell-new-7-3");
  EXPECT_EQ(WindowsPaths().SpareNameBeside("D:\\logs\\app.log", "7-3"),
            "D:\\logs\\.jotwell-new-7-3");
}

TEST(TrimBlanks, TrimsOnlyPlainSpaces) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\tapp.log\n"), "\tapp.log\n");
  EXPECT_EQ(TrimBlanks("\xC2\xA0" "app.log"), "\xC2\xA0" "app.log");  // no-break space stays
}

}  // namespace
}  // namespace jotwell
