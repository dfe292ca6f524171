// Both path dialects, whichever is native.
#include <gtest/gtest.h>

#include "component/PathDialect.h"

namespace jotwell {
namespace {

struct Completion {
  const char* name;
  const char* folder;
  const char* expected;
};

class WindowsCompletion : public ::testing::TestWithParam<Completion> {};

TEST_P(WindowsCompletion, PrependsTheFolderToIncompleteNames) {
  EXPECT_EQ(WindowsPaths().Complete(GetParam().name, GetParam().folder), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, WindowsCompletion,
    ::testing::Values(Completion{"C:\\logs\\app.log", "F:\\lib", "C:\\logs\\app.log"},
                      Completion{"app.log", "F:\\lib", "F:\\lib\\app.log"},
                      Completion{"logs\\app.log", "F:\\lib", "F:\\lib\\logs\\app.log"},
                      Completion{"C:app.log", "F:\\lib", "F:\\lib\\C:app.log"},
                      Completion{"\\\\server\\share\\f", "F:\\lib", "F:\\lib\\\\\\server\\share\\f"},
                      // ":" must be at position 2 or later, "\" at 3 or later.
                      Completion{":\\x", "F:\\lib", "F:\\lib\\:\\x"},
                      Completion{"a\\b:c", "F:\\lib", "F:\\lib\\a\\b:c"},
                      Completion{"ab:\\c", "F:\\lib", "ab:\\c"},
                      Completion{"C:/logs/app.log", "F:\\lib", "F:\\lib\\C:/logs/app.log"},
                      Completion{"app.log", "D:\\", "D:\\\\app.log"}));

TEST(PosixPaths, CompletesRelativeNamesWithTheFolder) {
  const PathDialect& posix = PosixPaths();
  EXPECT_EQ(posix.Complete("/var/log/app.log", "/opt/lib"), "/var/log/app.log");
  EXPECT_EQ(posix.Complete("app.log", "/opt/lib"), "/opt/lib/app.log");
  EXPECT_EQ(posix.Complete("logs/app.log", "/opt/lib"), "/opt/lib/logs/app.log");
  EXPECT_EQ(posix.Complete("C:\\app.log", "/opt/lib"), "/opt/lib/C:\\app.log");
  EXPECT_EQ(posix.Complete("app.log", "/"), "//app.log");
}

TEST(PathDialects, FolderOfKeepsASeparatorOnlyForARoot) {
  EXPECT_EQ(WindowsPaths().FolderOf("C:\\Apps\\Jotwell.dll"), "C:\\Apps");
  EXPECT_EQ(WindowsPaths().FolderOf("D:\\Jotwell.dll"), "D:\\");
  EXPECT_EQ(PosixPaths().FolderOf("/usr/lib/libjotwell.so"), "/usr/lib");
  EXPECT_EQ(PosixPaths().FolderOf("/libjotwell.so"), "/");
}

TEST(PathDialects, JoinAddsASeparatorUnlessTheFolderEndsWithOne) {
  EXPECT_EQ(WindowsPaths().Join("C:\\Apps", "Jotwell.ErrorLog.txt"), "C:\\Apps\\Jotwell.ErrorLog.txt");
  EXPECT_EQ(WindowsPaths().Join("D:\\", "Jotwell.ErrorLog.txt"), "D:\\Jotwell.ErrorLog.txt");
  EXPECT_EQ(PosixPaths().Join("/", "Jotwell.ErrorLog.txt"), "/Jotwell.ErrorLog.txt");
  EXPECT_EQ(PosixPaths().Join("/opt", "x"), "/opt/x");
}

TEST(TrimBlanks, TrimsOnlyPlainSpaces) {
  EXPECT_EQ(TrimBlanks("  app.log  "), "app.log");
  EXPECT_EQ(TrimBlanks(" a b "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimBlanks("\tapp.log\n"), "\tapp.log\n");
  EXPECT_EQ(TrimBlanks("\xC2\xA0" "app.log"), "\xC2\xA0" "app.log");  // no-break space stays
}

}  // namespace
}  // namespace jotwell
