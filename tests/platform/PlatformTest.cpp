// Both path dialects, whichever is native.
#include <gtest/gtest.h>

#include "base/PathDialect.h"

namespace jotwell {
namespace {

const PathDialect &windows = WindowsPaths(), &posix = PosixPaths();

// Windows: complete means ":" at position 2 or later and "\" at 3 or later.
TEST(PathDialects, CompletePrependsTheFolderToIncompleteNames) {
  EXPECT_EQ(windows.Complete("C:\\logs\\app.log", "F:\\lib"), "C:\\logs\\app.log");
  EXPECT_EQ(windows.Complete("logs\\app.log", "F:\\lib"), "F:\\lib\\logs\\app.log");
  EXPECT_EQ(windows.Complete("C:app.log", "F:\\lib"), "F:\\lib\\C:app.log");
  EXPECT_EQ(windows.Complete("\\\\server\\share\\f", "F:\\lib"), "F:\\lib\\\\\\server\\share\\f");
  EXPECT_EQ(windows.Complete(":\\x", "F:\\lib"), "F:\\lib\\:\\x");
  EXPECT_EQ(windows.Complete("a\\b:c", "F:\\lib"), "F:\\lib\\a\\b:c");
  EXPECT_EQ(windows.Complete("ab:\\c", "F:\\lib"), "ab:\\c");
  EXPECT_EQ(windows.Complete("C:/logs/app.log", "F:\\lib"), "F:\\lib\\C:/logs/app.log");
  EXPECT_EQ(windows.Complete("app.log", "D:\\"), "D:\\\\app.log");
  EXPECT_EQ(posix.Complete("/var/log/app.log", "/opt/lib"), "/var/log/app.log");
  EXPECT_EQ(posix.Complete("logs/app.log", "/opt/lib"), "/opt/lib/logs/app.log");
  EXPECT_EQ(posix.Complete("C:\\app.log", "/opt/lib"), "/opt/lib/C:\\app.log");
  EXPECT_EQ(posix.Complete("app.log", "/"), "//app.log");
}

// A folder keeps its separator only when it is a root; a spare name lies
// beside the file it replaces.
TEST(PathDialects, FolderOfJoinAndSpareNameBeside) {
  EXPECT_EQ(windows.FolderOf("C:\\Apps\\Jotwell.dll"), "C:\\Apps");
  EXPECT_EQ(windows.FolderOf("D:\\Jotwell.dll"), "D:\\");
  EXPECT_EQ(posix.FolderOf("/usr/lib/libjotwell.so"), "/usr/lib");
  EXPECT_EQ(posix.FolderOf("/libjotwell.so"), "/");
  EXPECT_EQ(windows.Join("C:\\Apps", "x"), "C:\\Apps\\x");
  EXPECT_EQ(windows.Join("D:\\", "x"), "D:\\x");
  EXPECT_EQ(posix.Join("/", "x"), "/x");
  EXPECT_EQ(posix.Join("/opt", "x"), "/opt/x");
  EXPECT_EQ(posix.SpareNameBeside("/var/log/app.log", "7-3"), "/var/log/.jotwell-new-7-3");
  EXPECT_EQ(posix.SpareNameBeside("app.log", "7-3"), ".jotwell-new-7-3");
  EXPECT_EQ(windows.SpareNameBeside("D:\\logs\\app.log", "7-3"), "D:\\logs\\.jotwell-new-7-3");
}

// Each row walks from a log's name up to the folder that is its own parent.
TEST(PathDialects, VolumeFolderWalksUpToTheRootOrTheCurrentFolder) {
  auto walk = [](const PathDialect& dialect, const std::string& path) {
    std::vector<std::string> folders{dialect.VolumeFolderOf(path)};
    while (folders.size() < 10 && dialect.VolumeFolderOf(folders.back()) != folders.back())
      folders.push_back(dialect.VolumeFolderOf(folders.back()));
    return folders;
  };
  using Walk = std::vector<std::string>;
  EXPECT_EQ(walk(posix, "/var/log/app.log"), (Walk{"/var/log", "/var", "/"}));
  EXPECT_EQ(walk(posix, "logs/app.log"), (Walk{"logs", "."}));
  EXPECT_EQ(walk(posix, "app.log"), (Walk{"."}));
  EXPECT_EQ(walk(posix, ""), (Walk{"/"}));
  EXPECT_EQ(walk(windows, "D:\\logs\\app.log"), (Walk{"D:\\logs", "D:\\"}));
  EXPECT_EQ(walk(windows, "C:app.log"), (Walk{"."}));
  EXPECT_EQ(walk(windows, ""), (Walk{"C:\\"}));
}

}  // namespace
}  // namespace jotwell
