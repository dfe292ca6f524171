// The INI members over real files in the test's own folder, which the
// library takes for its own: relative paths land there.
#include "jotwell/JotBook.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::ElementsAre;
using IniTest = test::IsolatedReportsTest;
const std::string kConsult = "\r\nPlease consult the author of the application for any assistance.";

// Every test runs on a fresh thread, whose INIPath starts empty.
TEST_F(IniTest, ThePathIsTrimmedCompletedAndSharedByTheThreadsObjects) {
  test::OnFreshThread([&] {
    JotBook one, other;
    for (auto [given, stored] : std::vector<std::pair<std::string, std::string>>{
             {"settings.ini", dir.File("settings.ini")}, {"cfg/app.ini", dir.File("cfg/app.ini")},
             {"  /data/app.ini  ", "/data/app.ini"}, {"   ", dir.path().string() + "/"}}) {
      one.INI_PathToINI(given);
      EXPECT_EQ(other.INI_PathToINI(), stored) << given;
    }
  });
}

// Without a path, or without its file, each member shows its own box and
// gives its empty result, leaving the trace as it found it.
TEST_F(IniTest, NotSetAndNotFoundShowTheirBoxesAndGiveEmptyResults) {
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
  const std::string folder = dir.path().string() + "/";
  std::vector<std::string> boxes;
  for (const auto& shown : desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)) boxes.push_back(shown.text);
  EXPECT_THAT(boxes, ElementsAre("Error!\r\nINI_Path property not set, function INI_WriteString aborted!" + kConsult,
                                 "Error!\r\nINI_Path property not set, function INI_ReadINT aborted!" + kConsult,
                                 "Error!\r\nINI_Path property not set, function INI_ReadString aborted!" + kConsult,
                                 "Error!\r\nFile " + folder + " not found, function INI_ReadINT aborted!" + kConsult,
                                 "Error!\r\nFile " + folder + " not found, function INI_ReadString aborted!" + kConsult));
  EXPECT_EQ(desktop->Exclamations(), 2 + 5);  // the About window's two, then one a box
  EXPECT_TRUE(Reports().empty());
}

// A write creates the file; values come back whole, numbers as Integers,
// and one outside 16 bits is an overflow reported by INIReadINT.
TEST_F(IniTest, WrittenValuesReadBackWholeAndNumbersFitSixteenBits) {
  const std::string longValue(200, 'v');
  test::OnFreshThread([&] {
    JotBook book, other;
    book.INI_PathToINI("settings.ini");
    EXPECT_NE(book.INI_WriteString("Main", "long", longValue), 0);
    for (auto [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"one", "x"}, {"empty", ""}, {"small", "-7"}, {"big", "40000"}})
      EXPECT_NE(other.INI_WriteString("Main", key, value), 0) << key;
    EXPECT_EQ(book.INI_ReadString("main", "LONG"), longValue);
    for (auto [key, value] : std::vector<std::pair<std::string, std::string>>{{"one", "x"}, {"empty", ""}, {"missing", ""}})
      EXPECT_EQ(book.INI_ReadString("Main", key), value) << key;
    EXPECT_EQ(book.INI_ReadINT("Main", "small"), -7);
    EXPECT_EQ(book.INI_ReadINT("Main", "missing"), 0);
    EXPECT_EQ(book.INI_ReadINT("Main", "big"), 0);
  });
  EXPECT_TRUE(std::filesystem::exists(dir.File("settings.ini")));
  ASSERT_THAT(Reports(), ElementsAre(test::IsReport(6, "Module1", "Function INIReadINT")));
  EXPECT_EQ(test::SectionOf(Reports()[0], "Call Stack:"),
            (std::vector<std::string>{">JotBook![Function INI_ReadINT]", ">Module1![Function INIReadINT]"}));
}

}  // namespace
}  // namespace jotwell
