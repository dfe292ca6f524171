// The report window's answers, the nested report and the error log.
#include <chrono>
#include <random>

#include "component/LibraryFacts.h"
#include "errors/CurrentError.h"
#include "errors/ErrorLog.h"
#include "errors/Trap.h"
#include "support/ReportSupport.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

using Kind = testing::ScriptedDesktop::Kind;

constexpr Procedure kFailing = "Module1![Sub Failing]";
constexpr Procedure kNested = "frmSplash![Sub Nested]";

// A traced procedure whose one statement fails with `error`; `after` counts
// the statements that ran after it.
void Failing(const RuntimeError& error, int* after = nullptr, const Procedure& proc = kFailing) {
  RunTraced(proc, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { throw error; });
    trap.Do([&] {
      if (after) ++*after;
    });
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
    EXPECT_FALSE(ErrorManager().IsLoaded());
  });
  EXPECT_EQ(desktop->Shown(Kind::Report).size(), 1u);
  EXPECT_EQ(desktop->Beeps(), 1);
}

INSTANTIATE_TEST_SUITE_P(AbortRetryIgnore, ChoiceButtons,
                         ::testing::Values(choice::kAbort, choice::kRetry, choice::kIgnore));

TEST_F(ReportWindowTest, ClosingWithoutAChoiceReturnsThePreviousChoice) {
  desktop->QueueReportChoice(0);
  desktop->QueueReportChoice(choice::kIgnore);
  desktop->QueueReportChoice(0);
  test::OnFreshThread([] {
    EXPECT_EQ(Report(), 0);
    EXPECT_EQ(Report(), choice::kIgnore);
    EXPECT_EQ(Report(), choice::kIgnore);
  });
  EXPECT_EQ(desktop->Beeps(), 3);
}

TEST_F(ReportWindowTest, CopyPutsTheWholeReportOnTheClipboardAndKeepsTheWindowOpen) {
  desktop->QueueReportButtons({ReportWindow::kCopyButton, ReportWindow::kIgnoreButton});
  test::OnFreshThread([] { EXPECT_EQ(Report(), choice::kIgnore); });
  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].text.find("Procedure [Sub Failing] in Module [Module1]"), String::npos);
  EXPECT_EQ(desktop->Clipboard(), reports[0].text);
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
    Failing(RuntimeError(errnum::kDiskFull), &nestedAfter, kNested);
    choiceDuringNested = ErrorManager().UserChoice();
  });
  test::OnFreshThread([&] {
    Failing(RuntimeError(errnum::kOverflow));
    int attempts = 0;
    RunTraced(kFailing, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] {
        if (++attempts == 1) throw RuntimeError(errnum::kPathNotFound);
      });
      trap.Do([&] { ++outerAfter; });
    });
    EXPECT_EQ(attempts, 2);  // the outer report waited for its Retry
    EXPECT_EQ(ErrorManager().UserChoice(), choice::kRetry);
  });
  EXPECT_EQ(nestedAfter, 1);  // the nested report answered Ignore, the standing choice
  EXPECT_EQ(choiceDuringNested, choice::kIgnore);
  EXPECT_EQ(outerAfter, 1);

  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_NE(reports[1].text.find("Number: 76"), String::npos);
  EXPECT_NE(reports[2].text.find("Number: 61"), String::npos);
  EXPECT_NE(reports[2].text.find("Procedure [Sub Nested] in Module [frmSplash]"), String::npos);
  EXPECT_EQ(desktop->Beeps(), 3);
  EXPECT_EQ(test::ReadFile(library->ErrorLog()),
            reports[0].text + reports[1].text + reports[2].text);
}

TEST_F(ReportWindowTest, TwoReportsFollowEachOtherInTheErrorLog) {
  test::WriteFile(library->ErrorLog(), "earlier bytes stay");
  desktop->QueueReportChoice(choice::kIgnore);
  test::OnFreshThread([] {
    Failing(RuntimeError(errnum::kDiskFull));
    Failing(RuntimeError(errnum::kPathFileAccess));
  });
  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(test::ReadFile(library->ErrorLog()),
            "earlier bytes stay" + reports[0].text + reports[1].text);
}

// The log beside the real library is shared with every other test process,
// so the reports are found by descriptions no other process writes.
TEST(ErrorLogBesideTheLibrary, HoldsBothReportsInOrder) {
  auto desktop = std::make_shared<testing::ScriptedDesktop>();
  SetDesktop(desktop);
  std::string tag = std::to_string(std::random_device{}()) + "-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  test::OnFreshThread([&] {
    Failing(RuntimeError(1001, "first of " + tag));
    Failing(RuntimeError(1002, "second of " + tag));
  });
  SetDesktop(nullptr);
  std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
  ASSERT_EQ(reports.size(), 2u);
  std::string log = test::ReadFile(ErrorLogPath(LibraryFolder()));
  size_t first = log.find(reports[0].text);
  size_t second = log.find(reports[1].text);
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_GE(second, first + reports[0].text.size());
}

TEST(ErrorLogPath, HasNoDoubledSeparatorInARoot) {
  EXPECT_EQ(ErrorLogPath("/"), "/Jotwell.ErrorLog.txt");
  EXPECT_EQ(ErrorLogPath("/opt/app"), "/opt/app/Jotwell.ErrorLog.txt");
}

// However the log fails, the report is still shown.
class ThrowingComponent final : public platform::ComponentFile {
 public:
  String LibraryPath() override { throw RuntimeError(errnum::kFileNotFound); }
  String LibraryFileName() override { return "libjotwell.so"; }
};

TEST_F(ReportWindowTest, AReportThatCannotBeLoggedIsStillShown) {
  std::filesystem::create_directory(library->ErrorLog());  // the log's name is taken by a folder
  test::TempDir gone;
  std::string missing = (gone.path() / "missing").string();
  ThrowingComponent throwing;

  desktop->QueueReportChoice(choice::kIgnore);
  test::OnFreshThread([] { EXPECT_EQ(Report(), choice::kIgnore); });
  {
    test::LibraryIn inMissingFolder(missing);
    desktop->QueueReportChoice(choice::kIgnore);
    test::OnFreshThread([] { EXPECT_EQ(Report(), choice::kIgnore); });
  }
  platform::Group<platform::ComponentFile>::Install(&throwing);
  desktop->QueueReportChoice(choice::kIgnore);
  test::OnFreshThread([] { EXPECT_EQ(Report(), choice::kIgnore); });
  platform::Group<platform::ComponentFile>::Install(nullptr);

  EXPECT_EQ(desktop->Shown(Kind::Report).size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace jotwell
