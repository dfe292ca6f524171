// The report: its layout, the registry that feeds it, the window's answers
// and the error log.

#include <numeric>

#include "support/ReportSupport.h"
#include "values/PathDialect.h"

namespace jotwell {
namespace {

using namespace test;

// Error 53 in JotBook's DeleteToRecycleBin, rendered in the C locale at
// 7:05:12 AM on 5 December 2026.
std::string Render(const RegisteredContext& context, std::vector<std::string_view> trace = {}) {
  std::string text;
  ScopedEnv plain("LC_ALL", "C");
  OnFreshThread([&] {
    text = JoinReportLines(RenderReport(ErrorRecord{53, "File not found", "Jotwell", 0, 0}, "JotBook",
                                        "Function DeleteToRecycleBin", context, trace, {2026, 12, 5, 7, 5, 12}));
  });
  return text;
}

TEST(ReportText, ReproducesTheDeleteToRecycleBinExample) {
  const std::string dash(60, '-');
  EXPECT_EQ(Render({{"FileName"}, {"C:\\Temp\\old.txt"}, {"RetVal", "DoesItExist"}, {Long(0), False}},
                   {"JotBook![Function DeleteToRecycleBin]"}),
            JoinReportLines({"", dash, "", "Runtime Error in Project:Jotwell", "", "On 12/5/2026 7:05:12 AM", "",
                             "Begin Details", "", "    Error Details:", "        Number: 53",
                             "        Description: File not found", "        Source: Jotwell", "        LastDllError: 0",
                             "", "    Procedure [Function DeleteToRecycleBin] in Module [JotBook]", "",
                             "        Arguments:", "            FileName = C:\\Temp\\old.txt", "", "        Variables:",
                             "            RetVal = 0", "            DoesItExist = False", "", "        Call Stack:",
                             "            >JotBook![Function DeleteToRecycleBin]", "", "End Details", dash, ""}));
}

// Empty sections are left out, and so are values and elements without a
// text form; a grid shows empty, and values beyond the names are not shown.
TEST(ReportText, LeavesOutEmptySectionsAndValuesWithoutAText) {
  EXPECT_THAT(Render({{}, {}, {}, {}}), ::testing::EndsWith("in Module [JotBook]\r\n\r\nEnd Details\r\n" + std::string(60, '-') + "\r\n"));
  int object = 0;
  VariantArray grid;
  grid.dimensions = {{0, 1}, {0, 1}}, grid.elements = {"a", "b", "c", "d"};
  std::string report = Render({{"Items", "Rows", "Tags", "Level"},
                               {Array({"a", "b"}), Array({}), Array({"", "x"}), Variant::Missing(), Long(9)},
                               {"Mixed", "Grid", "obj", "err", "after"},
                               {Array({ErrorCode{5}, "a", ObjectRef{&object}, Array({"x"}), "b"}), grid,
                                ObjectRef{&object}, ErrorCode{5}, Long(2)}});
  EXPECT_EQ(SectionOf(report, "Arguments:"), (Lines{"Items() = (a , b)", "Rows() = ()", "Tags() = (x)", "Level: Missing"}));
  EXPECT_EQ(SectionOf(report, "Variables:"), (Lines{"Mixed() = (a , b)", "Grid() = ()", "after = 2"}));
}

// The report counts the trace with 16 bits.
TEST(ReportText, FailsWithSixWhenTheTraceIsTooLongToCount) {
  EXPECT_THAT([] { Render({{}, {}, {}, {}}, std::vector<std::string_view>(32768, "x")); }, FailsWith(6));
  EXPECT_EQ(SectionOf(Render({{}, {}, {}, {}}, std::vector<std::string_view>(32767, "x")), "Call Stack:").size(), 32767u);
}

// Reports error 53 from JotBook's DeleteToRecycleBin.
Long Report() {
  CurrentError() = ErrorRecord{53, "File not found", "Jotwell", 0, 0};
  return ErrorManager().DysplayMessage("JotBook", "Function DeleteToRecycleBin");
}

// The registry's five lists, as texts.
std::vector<Lines> Lists(const frmErrMn& m) {
  std::vector<Lines> lists;
  for (const auto* list : {&m.ArgumentsNames(), &m.ArgumentsValues(), &m.VariablesNames(), &m.VariablesValues()}) {
    lists.emplace_back();
    for (const Variant& v : *list) lists.back().push_back(v.Text().value_or("?"));
  }
  lists.emplace_back(m.CallStack().begin(), m.CallStack().end());
  return lists;
}

// Each test reports on fresh threads, so registry and choice start empty.
using ReportTest = IsolatedReportsTest;

// A report empties the registry and keeps the choice; one that cannot be
// rendered (a name without a value) changes nothing: not shown, not logged,
// registry untouched. Each registration replaces its list, so registering
// anew recovers.
TEST_F(ReportTest, TheWindowAnswersWithTheChosenButtonOrThePreviousChoice) {
  WriteFile(ErrorLog(), "earlier bytes stay");
  for (Long c : {0, 3, 5, 4, 0}) desktop->QueueReportChoice(c);
  desktop->QueueReportButtons({ReportWindow::kCopyButton, ReportWindow::kIgnoreButton});
  OnFreshThread([] {
    frmErrMn& m = ErrorManager();
    m.AddArgumentsNames(Array({"a"})), m.AddArgumentsValues(Array({Long(1)})), m.AddCall({"JotBook![Sub Failing]"});
    m.AddVariablesNames(Array({"v"})), m.AddVariablesValues(Array({Long(2)}));
    EXPECT_EQ(Report(), 0);  // closed without a choice: none made yet on this thread
    EXPECT_EQ(Lists(m), std::vector<Lines>(5));
    for (Long c : {3, 5, 4}) {
      EXPECT_EQ(Report(), c);
      EXPECT_EQ(m.UserChoice(), c);
    }
    EXPECT_EQ(Report(), 4);  // closed without a choice: the previous one
    EXPECT_EQ(Report(), 5);  // Copy kept the window open for Ignore
    m.AddCall({"Module1![Sub Caller]"}), m.AddArgumentsNames(Array({"a", "b"}));
    auto before = Lists(m);
    EXPECT_THAT([] { Report(); }, FailsWith(9));
    EXPECT_EQ(Lists(m), before);
    EXPECT_EQ(m.UserChoice(), 5);
    m.AddArgumentsNames(Array({"a"})), m.AddArgumentsValues(Array({Long(1)}));
    EXPECT_EQ(Report(), choice::kAbort);  // an empty queue answers Abort
  });
  Lines reports = Reports();
  ASSERT_EQ(reports.size(), 7u);
  EXPECT_EQ(desktop->Beeps(), 7);
  EXPECT_EQ(desktop->Clipboard(), reports[5]);
  EXPECT_EQ(ReadFile(ErrorLog()), "earlier bytes stay" + std::accumulate(reports.begin(), reports.end(), std::string()));
}

// A traced procedure whose first statement fails once with `number`;
// `after` counts the statements that ran after it.
void Failing(Long number, int* after = nullptr, const Procedure& proc = "Module1![Sub Failing]") {
  RunTraced(proc, NoRegistrations,
            [&](Trap& trap) { trap.Do(FailingOnce(number)), trap.Do([&] { after && ++*after; }); });
}

// A report raised while another is shown renders and logs its own text,
// replaces the window's, and answers at once with the choice standing then.
// A report that cannot be logged (the log's name taken by a folder, the
// library's folder unknown) is still shown.
TEST_F(ReportTest, ANestedReportReplacesTheTextAndDoesNotWaitAndEveryReportIsShown) {
  int outerAfter = 0, nestedAfter = 0;
  Integer choiceDuringNested = -1;
  desktop->QueueReportChoice(choice::kIgnore);  // makes Ignore the standing choice
  desktop->QueueReportChoice(choice::kRetry);   // the outer report's own answer
  desktop->WhileNextReportShown([] {});
  desktop->WhileNextReportShown([&] {
    Failing(errnum::kDiskFull, &nestedAfter, "frmSplash![Sub Nested]");
    choiceDuringNested = ErrorManager().UserChoice();
  });
  OnFreshThread([&] {
    Failing(errnum::kOverflow);
    Failing(errnum::kPathNotFound, &outerAfter);
    EXPECT_EQ(ErrorManager().UserChoice(), choice::kRetry);
  });
  EXPECT_EQ(nestedAfter, 1);  // the nested report answered Ignore, the standing choice
  EXPECT_EQ(choiceDuringNested, choice::kIgnore);
  EXPECT_EQ(outerAfter, 1);  // the outer report waited for its Retry
  Lines reports = Reports();
  EXPECT_THAT(reports, ElementsAre(IsReport(6, "Module1", "Sub Failing"), IsReport(76, "Module1", "Sub Failing"),
                                   IsReport(61, "frmSplash", "Sub Nested")));
  EXPECT_EQ(ReadFile(ErrorLog()), std::accumulate(reports.begin(), reports.end(), std::string()));
  // A report that cannot be logged beside the library (the log's name taken by a folder, the library's folder
  // unknown) goes to the user's state folder; one that cannot be logged at all is still shown.
  std::filesystem::remove(ErrorLog()), std::filesystem::create_directory(ErrorLog());
  OnFreshThread([] { Report(); });
  libraryLost = true;
  OnFreshThread([] { Report(); });
  const String stateFolder = platform::Component().UserFolderOf(platform::UserFolder::State);
  EXPECT_EQ(ReadFile(NativePaths().Join(stateFolder, "Jotwell.ErrorLog.txt")),
            Reports()[3] + Reports()[4]);
  WriteFile(dir.File("occupied"), "a file where the user's folders would be");
  test::ScopedEnv nowhere{"XDG_STATE_HOME", dir.File("occupied")},
      homeless{"HOME", dir.File("occupied")}, noLocalData{"LOCALAPPDATA", dir.File("occupied")};
  OnFreshThread([] { Report(); });
  EXPECT_EQ(Reports().size(), 6u);
}

}  // namespace
}  // namespace jotwell
