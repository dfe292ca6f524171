// The report window's answers, the nested report and the error log.
#include <gmock/gmock.h>

#include "errors/CurrentError.h"
#include "errors/Trap.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;

constexpr Procedure kFailing = "Module1![Sub Failing]";

// A traced procedure whose first statement fails with `number`; `after`
// counts the statements that ran after it.
void Failing(Long number, int* after = nullptr, const Procedure& proc = kFailing) {
  RunTraced(proc, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { throw RuntimeError(number); });
    trap.Do([&] { after && ++*after; });
  });
}

Long Report() {
  CurrentError() = ErrorRecord{5, "Invalid procedure call or argument", "Jotwell", 0, 0};
  return ErrorManager().DysplayMessage("Module1", "Sub Failing");
}

using ReportWindowTest = test::IsolatedReportsTest;

class ChoiceButtons : public ReportWindowTest, public ::testing::WithParamInterface<Long> {};

TEST_P(ChoiceButtons, ReturnTheirCodeAndKeepItAsUserChoice) {
  desktop->QueueReportChoice(GetParam());
  test::OnFreshThread([&] {
    EXPECT_EQ(Report(), GetParam());
    EXPECT_EQ(ErrorManager().UserChoice(), GetParam());
  });
  EXPECT_EQ(Reports().size(), 1u);
  EXPECT_EQ(desktop->Beeps(), 1);
}

INSTANTIATE_TEST_SUITE_P(AbortRetryIgnore, ChoiceButtons, ::testing::Values(3, 4, 5));

TEST_F(ReportWindowTest, ClosingWithoutAChoiceReturnsThePreviousChoice) {
  for (Long c : {0, 5, 0}) desktop->QueueReportChoice(c);
  test::OnFreshThread([] {
    EXPECT_EQ(Report(), 0);  // nothing chosen yet on this thread
    EXPECT_EQ(Report(), choice::kIgnore);
    EXPECT_EQ(Report(), choice::kIgnore);
  });
}

TEST_F(ReportWindowTest, CopyPutsTheWholeReportOnTheClipboardAndKeepsTheWindowOpen) {
  desktop->QueueReportButtons({ReportWindow::kCopyButton, ReportWindow::kIgnoreButton});
  test::OnFreshThread([] { EXPECT_EQ(Report(), choice::kIgnore); });
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_THAT(Reports()[0], HasSubstr("Procedure [Sub Failing] in Module [Module1]"));
  EXPECT_EQ(desktop->Clipboard(), Reports()[0]);
}

// A report raised while another is shown renders and logs its own text,
// replaces the window's, and answers at once with the choice standing then.
TEST_F(ReportWindowTest, ANestedReportReplacesTheTextAndDoesNotWait) {
  int outerAfter = 0, nestedAfter = 0;
  Integer choiceDuringNested = -1;
  desktop->QueueReportChoice(choice::kIgnore);  // makes Ignore the standing choice
  desktop->QueueReportChoice(choice::kRetry);   // the outer report's own answer
  desktop->WhileNextReportShown([] {});
  desktop->WhileNextReportShown([&] {
    Failing(errnum::kDiskFull, &nestedAfter, "frmSplash![Sub Nested]");
    choiceDuringNested = ErrorManager().UserChoice();
  });
  test::OnFreshThread([&] {
    Failing(errnum::kOverflow);
    int attempts = 0;
    RunTraced(kFailing, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] { if (++attempts == 1) throw RuntimeError(errnum::kPathNotFound); });
      trap.Do([&] { ++outerAfter; });
    });
    EXPECT_EQ(attempts, 2);  // the outer report waited for its Retry
    EXPECT_EQ(ErrorManager().UserChoice(), choice::kRetry);
  });
  EXPECT_EQ(nestedAfter, 1);  // the nested report answered Ignore, the standing choice
  EXPECT_EQ(choiceDuringNested, choice::kIgnore);
  EXPECT_EQ(outerAfter, 1);
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_THAT(reports[1], HasSubstr("Number: 76"));
  EXPECT_THAT(reports[2], HasSubstr("Number: 61"));
  EXPECT_THAT(reports[2], HasSubstr("Procedure [Sub Nested] in Module [frmSplash]"));
  EXPECT_EQ(test::ReadFile(library->ErrorLog()), reports[0] + reports[1] + reports[2]);
}

TEST_F(ReportWindowTest, TwoReportsFollowEachOtherInTheErrorLog) {
  test::WriteFile(library->ErrorLog(), "earlier bytes stay");
  desktop->QueueReportChoice(choice::kIgnore);
  test::OnFreshThread([] { Failing(errnum::kDiskFull), Failing(errnum::kPathFileAccess); });
  ASSERT_EQ(Reports().size(), 2u);
  EXPECT_EQ(test::ReadFile(library->ErrorLog()), "earlier bytes stay" + Reports()[0] + Reports()[1]);
}

// However the log fails, the report is still shown.
class ThrowingComponent final : public platform::ComponentFile {
 public:
  String LibraryPath() override { throw RuntimeError(errnum::kFileNotFound); }
  String LibraryFileName() override { return "libjotwell.so"; }
};

TEST_F(ReportWindowTest, AReportThatCannotBeLoggedIsStillShown) {
  std::filesystem::create_directory(library->ErrorLog());  // the log's name is taken by a folder
  test::OnFreshThread([] { Report(); });
  test::TempDir gone;
  std::string missing = (gone.path() / "missing").string();
  {
    test::LibraryIn inMissingFolder(missing);
    test::OnFreshThread([] { Report(); });
  }
  ThrowingComponent throwing;
  platform::Group<platform::ComponentFile>::Install(&throwing);
  test::OnFreshThread([] { Report(); });
  platform::Group<platform::ComponentFile>::Install(nullptr);
  EXPECT_EQ(Reports().size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace jotwell
