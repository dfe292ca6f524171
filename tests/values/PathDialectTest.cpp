// Both path dialects, whichever is native. The native one's cases that a
// log name reaches are met through the log's own tests (names, free space,
// the error log beside the library).
#include <gtest/gtest.h>

#include "values/PathDialect.h"

namespace jotwell {
namespace {

const PathDialect &windows = WindowsPaths(), &posix = PosixPaths();
using Texts = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

// Windows: complete means ":" at position 2 or later and "\" at 3 or later.
TEST(PathDialects, CompletePrependsTheFolderToIncompleteNames) {
  for (const auto& [name, completed] : Pairs{{"C:\\logs\\app.log", "C:\\logs\\app.log"}, {"ab:\\c", "ab:\\c"},
           {"logs\\app.log", "F:\\lib\\logs\\app.log"}, {"C:app.log", "F:\\lib\\C:app.log"},
           {"C:/logs/app.log", "F:\\lib\\C:/logs/app.log"}, {"\\\\server\\share\\f", "F:\\lib\\\\\\server\\share\\f"},
           {":\\x", "F:\\lib\\:\\x"}, {"a\\b:c", "F:\\lib\\a\\b:c"}})
    EXPECT_EQ(windows.Complete(name, "F:\\lib"), completed) << name;
  EXPECT_EQ(windows.Complete("app.log", "D:\\"), "D:\\\\app.log");
  EXPECT_EQ(posix.Complete("C:\\app.log", "/opt/lib"), "/opt/lib/C:\\app.log");
}

// A folder keeps its separator only when it is a root; a bare name lies in
// the current folder.
TEST(PathDialects, FolderOfAndJoin) {
  EXPECT_EQ((Texts{windows.FolderOf("C:\\Apps\\Jotwell.dll"), windows.FolderOf("D:\\Jotwell.dll"),
                   posix.FolderOf("/libjotwell.so"), posix.FolderOf("app.log"),
                   windows.FolderOf("app.log"), windows.Join("C:\\Apps", "x"),
                   windows.Join("D:\\", "x"), posix.Join("/", "x")}),
            (Texts{"C:\\Apps", "D:\\", "/", ".", ".", "C:\\Apps\\x", "D:\\x", "/x"}));
}

// Each row walks from a log's name up to the folder that is its own parent.
TEST(PathDialects, VolumeFolderWalksUpToTheRootOrTheCurrentFolder) {
  for (const auto& [path, walk] : std::vector<std::pair<std::string, Texts>>{
           {"D:\\logs\\app.log", {"D:\\logs", "D:\\"}}, {"C:app.log", {"."}}, {"", {"C:\\"}}}) {
    Texts folders{windows.VolumeFolderOf(path)};
    while (folders.size() < 10 && windows.VolumeFolderOf(folders.back()) != folders.back())
      folders.push_back(windows.VolumeFolderOf(folders.back()));
    EXPECT_EQ(folders, walk) << path;
  }
}

}  // namespace
}  // namespace jotwell
