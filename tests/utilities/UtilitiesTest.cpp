// The INI members and the file utilities over real files in the test's own
// folder, which the library takes for its own: relative paths land there.
#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "support/ReportSupport.h"
#include "values/PathDialect.h"

namespace jotwell {
namespace {

using ::testing::ElementsAre;
using UtilitiesTest = test::IsolatedReportsTest;

// Every test runs on a fresh thread, whose INIPath starts empty. Without a
// path, or without its file, each member shows its own box and gives its
// empty result, leaving the trace as it found it.
TEST_F(UtilitiesTest, IniNotSetAndNotFoundShowTheirBoxesAndGiveEmptyResults) {
  test::OnFreshThread([&] {
    JotBook book;
    EXPECT_EQ(book.INI_WriteString("S", "k", "v"), 0);
    EXPECT_EQ(book.INI_ReadINT("S", "k"), 0);
    EXPECT_EQ(book.INI_ReadString("S", "k"), "");
    book.INI_PathToINI("");  // the library's folder, which is no file
    EXPECT_EQ(book.INI_ReadINT("S", "k"), 0);
    EXPECT_EQ(book.INI_ReadString("S", "k"), "");
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
  const test::Lines boxes = test::BoxTexts(*desktop);
  const std::string
      notSet = "Error!\r\nINI_Path property not set, function INI_",
      notFound = "Error!\r\nFile " + dir.File("") + " not found, function INI_",
      consult = " aborted!\r\nPlease consult the author of the application for any assistance.";
  EXPECT_THAT(boxes, ElementsAre(notSet + "WriteString" + consult, notSet + "ReadINT" + consult, notSet + "ReadString" + consult,
                                 notFound + "ReadINT" + consult, notFound + "ReadString" + consult));
  EXPECT_EQ(desktop->Exclamations(), 2 + 5);  // the About window's two, then one a box
}

// A write creates the file; values come back whole (not cut to a buffer),
// numbers as Integers, and one outside 16 bits is an overflow reported by
// INIReadINT. The thread's path serves every object of the thread.
TEST_F(UtilitiesTest, IniWrittenValuesReadBackWholeAndNumbersFitSixteenBits) {
  test::OnFreshThread([&] {
    JotBook book, other;
    book.INI_PathToINI("settings.ini");
    for (auto [key, value] : std::vector<std::pair<std::string, std::string>>{{"long", std::string(200, 'v')}, {"small", "-7"}, {"big", "40000"}})
      EXPECT_NE(other.INI_WriteString("Main", key, value), 0) << key;
    EXPECT_EQ(book.INI_ReadString("main", "LONG"), std::string(200, 'v'));
    EXPECT_EQ(book.INI_ReadString("Main", "missing"), "");
    EXPECT_EQ(book.INI_ReadINT("Main", "small"), -7);
    EXPECT_EQ(book.INI_ReadINT("Main", "big"), 0);
  });
  EXPECT_THAT(Reports(), ElementsAre(test::IsReport(6, "Module1", "Function INIReadINT")));
}

// Every name counts as an existing file once `everything` is installed, so
// that names no file system holds reach the search.
TEST_F(UtilitiesTest, StripPathGivesWhatFollowsTheLastSeparatorOfAnExistingFile) {
  struct : platform::ForwardingFileSystem { bool CanOpen(const String&) override { return true; } } everything;
  test::WriteFile(dir.File("r\xC3\xA9sum\xC3\xA9.txt"), "x");
  const std::string separator(1, NativePaths().Separator());
  const std::string deep = separator + std::string(32764, 'd') + separator + "f",
                    deeper = separator + std::string(32765, 'd') + separator + "f";
  std::vector<std::string> results;
  test::OnFreshThread([&] {
    JotBook book;
    for (const std::string& path : {dir.File("r\xC3\xA9sum\xC3\xA9.txt"), dir.path().string(), dir.File("missing")})
      results.push_back(book.StripPath(path));
    test::ScopedInstall<platform::FileSystem> installed(everything);
    for (const std::string& path : {std::string("plain"), deep, deeper}) results.push_back(book.StripPath(path));
  });
  EXPECT_THAT(results, ElementsAre("r\xC3\xA9sum\xC3\xA9.txt", "", "", "plain", "f", ""));
  EXPECT_THAT(desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox).back().text,  // the second, for a folder first
              ::testing::StartsWith("Error!\r\nCannot find file " + dir.File("missing") + ", function StripPath aborted!\r\nPlease"));
  ASSERT_THAT(Reports(), ElementsAre(test::IsReport(6, "JotBook", "Function StripPath")));  // a separator at 32,767
  EXPECT_EQ(test::SectionOf(Reports()[0], "Variables:"), (std::vector<std::string>{"x% = 1", "ct% = 1", "DoesItExist = True"}));
}

}  // namespace
}  // namespace jotwell
