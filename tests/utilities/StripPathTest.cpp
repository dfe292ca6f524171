// The file name of an existing file's path.
#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::ElementsAre;
using StripPathTest = test::IsolatedReportsTest;

// Takes every name for an existing file, so that names no file system holds
// reach the search.
struct EverythingExists : platform::ForwardingFileSystem {
  EverythingExists() { platform::Group<platform::FileSystem>::Install(this); }
  ~EverythingExists() override { platform::Group<platform::FileSystem>::Install(nullptr); }
  bool CanOpen(const String&) override { return true; }
};

TEST_F(StripPathTest, GivesWhatFollowsTheLastSeparatorOfAnExistingFile) {
  test::WriteFile(dir.File("r\xC3\xA9sum\xC3\xA9.txt"), "x");
  const std::string deep = "/" + std::string(32764, 'd') + "/f", deeper = "/" + std::string(32765, 'd') + "/f";
  std::vector<std::string> results;
  test::OnFreshThread([&] {
    JotBook book;
    for (const std::string& path : {dir.File("r\xC3\xA9sum\xC3\xA9.txt"), dir.path().string(), dir.File("missing")})
      results.push_back(book.StripPath(path));
    EverythingExists everything;
    for (const std::string& path : {std::string("plain"), deep, deeper}) results.push_back(book.StripPath(path));
  });
  EXPECT_THAT(results, ElementsAre("r\xC3\xA9sum\xC3\xA9.txt", "", "", "plain", "f", ""));
  const std::string consult = "\r\nPlease consult the author of the application for any assistance.";
  std::vector<std::string> boxes;
  for (const auto& shown : desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)) boxes.push_back(shown.text);
  EXPECT_THAT(boxes, ElementsAre("Error!\r\nCannot find file " + dir.path().string() + ", function StripPath aborted!" + consult,
                                 "Error!\r\nCannot find file " + dir.File("missing") + ", function StripPath aborted!" + consult));
  ASSERT_THAT(Reports(), ElementsAre(test::IsReport(6, "JotBook", "Function StripPath")));  // a separator at 32,767
  EXPECT_EQ(test::SectionOf(Reports()[0], "Variables:"), (std::vector<std::string>{"x% = 1", "ct% = 1", "DoesItExist = True"}));
}

}  // namespace
}  // namespace jotwell
