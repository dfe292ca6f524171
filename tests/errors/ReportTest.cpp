// The report: its layout, the registry that feeds it, the window's answers
// and the error log.

#include <numeric>

#include "errors/Trap.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::ElementsAre;
using test::Array;
using test::IsReport;
using V = std::vector<std::string>;

// Error 53 in JotBook's DeleteToRecycleBin, rendered in the C locale at
// 7:05:12 AM on 5 December 2026.
std::string Render(const RegisteredContext& context, std::vector<std::string_view> trace = {}, Long line = 0) {
  std::string text;
  test::ScopedEnv plain("LC_ALL", "C");
  test::OnFreshThread([&] {
    text = JoinReportLines(RenderReport(
        ErrorRecord{53, "File not found", "Jotwell", 0, line}, "JotBook", "Function DeleteToRecycleBin",
        context, trace, {2026, 12, 5, 7, 5, 12}));
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
  // Without context or trace only the procedure line precedes the end; a line
  // number gets a line of its own.
  EXPECT_THAT(Render({{}, {}, {}, {}}, {}, 120),
              ::testing::EndsWith("Jotwell\r\n        Line of Procedure: 120\r\n        LastDllError: 0\r\n\r\n    "
                                  "Procedure [Function DeleteToRecycleBin] in Module [JotBook]\r\n\r\nEnd Details\r\n" +
                                  dash + "\r\n"));
}

// Values and elements without a text form are left out, a grid shows empty,
// and values beyond the names are not shown.
TEST(ReportText, ReproducesTheArrayAndMissingValueLinesAndGoesOnPastUnprintableValues) {
  int object = 0;
  VariantArray grid;
  grid.dimensions = {{0, 1}, {0, 1}}, grid.elements = {"a", "b", "c", "d"};
  std::string report = Render({{"Items", "Rows", "Tags", "Level"},
                               {Array({"a", "b"}), Array({}), Array({"", "x"}), Variant::Missing(), Long(9)},
                               {"Mixed", "Grid", "obj", "err", "after"},
                               {Array({ErrorCode{5}, "a", ObjectRef{&object}, Array({"x"}), "b"}), grid,
                                ObjectRef{&object}, ErrorCode{5}, Long(2)}});
  EXPECT_EQ(test::SectionOf(report, "Arguments:"), (V{"Items() = (a , b)", "Rows() = ()", "Tags() = (x)", "Level: Missing"}));
  EXPECT_EQ(test::SectionOf(report, "Variables:"), (V{"Mixed() = (a , b)", "Grid() = ()", "after = 2"}));
}

// The report counts with 16 bits and needs a value for every name.
TEST(ReportText, FailsWithSixOrNineWhenItCannotWalkItsLists) {
  EXPECT_THAT([] { Render({{"a", "b"}, {Long(1)}, {}, {}}); }, test::FailsWith(9));
  EXPECT_THAT([] { Render({{}, {}, {}, {}}, std::vector<std::string_view>(32768, "x")); }, test::FailsWith(6));
  EXPECT_THAT([] { Render({{}, {}, std::vector<Variant>(32768, "n"), std::vector<Variant>(32768, Long(1))}); },
              test::FailsWith(6));
  std::string longest = Render({{}, {}, {}, {}}, std::vector<std::string_view>(32767, "x"));
  EXPECT_EQ(test::SectionOf(longest, "Call Stack:").size(), 32767u);
}

// Reports error 53 from JotBook's DeleteToRecycleBin.
Long Report() {
  CurrentError() = ErrorRecord{53, "File not found", "Jotwell", 0, 0};
  return ErrorManager().DysplayMessage("JotBook", "Function DeleteToRecycleBin");
}

// The registry's five lists, as texts.
std::vector<V> Lists(const frmErrMn& m) {
  std::vector<V> lists;
  for (const auto* list : {&m.ArgumentsNames(), &m.ArgumentsValues(), &m.VariablesNames(), &m.VariablesValues()}) {
    lists.emplace_back();
    for (const Variant& v : *list) lists.back().push_back(v.Text().value_or("?"));
  }
  lists.emplace_back(m.CallStack().begin(), m.CallStack().end());
  return lists;
}

// Each registration member replaces its list by a one-dimensional array
// with 16-bit bounds.
TEST(Registry, TakesOneDimensionalArraysWithSixteenBitBounds) {
  VariantArray reversed, none, grid;
  reversed.dimensions = {{3, 1}}, grid.dimensions = {{0, 0}, {0, 1}}, grid.elements = {"a", "b"};
  std::pair<VariantArray, Long> wrong[] = {
      {Array(std::vector<Variant>(11, Long(7)), 32760), 6}, {Array({"p"}, -32769), 6}, {none, 9}, {grid, 9}};
  test::OnFreshThread([&] {
    frmErrMn& m = ErrorManager();
    m.AddArgumentsNames(Array({"a"})), m.AddArgumentsValues(Array({"b"})), m.AddVariablesNames(Array({"c"}));
    m.AddVariablesValues(Array({"stale", "stale", "stale"}));
    m.AddVariablesValues(Array({"p", "q"}, -32768));
    EXPECT_EQ(Lists(m), (std::vector<V>{{"a"}, {"b"}, {"c"}, {"p", "q"}, {}}));
    m.AddVariablesValues(Array({"x", "y", "z"}, 32765));
    EXPECT_EQ(Lists(m)[3], (V{"x", "y", "z"}));
    m.AddVariablesValues(reversed);
    EXPECT_EQ(Lists(m)[3], V{});
    for (const auto& [values, number] : wrong) EXPECT_THAT([&] { m.AddVariablesValues(values); }, test::FailsWith(number));
  });
}

// Each test reports on fresh threads, so registry and choice start empty.
using ReportTest = test::IsolatedReportsTest;

// A report empties the registry and keeps the choice; one that cannot be
// rendered changes nothing: not shown, not logged, registry untouched.
TEST_F(ReportTest, TheWindowAnswersWithTheChosenButtonOrThePreviousChoice) {
  test::WriteFile(ErrorLog(), "earlier bytes stay");
  for (Long c : {0, 3, 5, 4, 0}) desktop->QueueReportChoice(c);
  desktop->QueueReportButtons({ReportWindow::kCopyButton, ReportWindow::kIgnoreButton});
  test::OnFreshThread([] {
    frmErrMn& m = ErrorManager();
    m.AddArgumentsNames(Array({"a"})), m.AddArgumentsValues(Array({Long(1)})), m.AddCall({"JotBook![Sub Failing]"});
    m.AddVariablesNames(Array({"v"})), m.AddVariablesValues(Array({Long(2)}));
    EXPECT_EQ(Report(), 0);  // closed without a choice: none made yet on this thread
    EXPECT_EQ(Lists(m), std::vector<V>(5));
    for (Long c : {3, 5, 4}) {
      EXPECT_EQ(Report(), c);
      EXPECT_EQ(m.UserChoice(), c);
    }
    EXPECT_EQ(Report(), 4);  // closed without a choice: the previous one
    EXPECT_EQ(Report(), 5);  // Copy kept the window open for Ignore
    m.AddCall({"Module1![Sub Caller]"}), m.AddArgumentsNames(Array({"a", "b"}));
    auto before = Lists(m);
    EXPECT_THAT([] { Report(); }, test::FailsWith(9));
    EXPECT_EQ(Lists(m), before);
    EXPECT_EQ(m.UserChoice(), 5);
  });
  V reports = Reports();
  ASSERT_EQ(reports.size(), 6u);
  EXPECT_EQ(desktop->Beeps(), 6);
  EXPECT_EQ(desktop->Clipboard(), reports.back());
  EXPECT_EQ(test::ReadFile(ErrorLog()), "earlier bytes stay" + std::accumulate(reports.begin(), reports.end(), std::string()));
}

constexpr Procedure kFailing = "Module1![Sub Failing]";

// A traced procedure whose first statement fails once with `number`;
// `after` counts the statements that ran after it.
void Failing(Long number, int* after = nullptr, const Procedure& proc = kFailing) {
  bool failed = false;
  RunTraced(proc, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { if (!std::exchange(failed, true)) throw RuntimeError(number); });
    trap.Do([&] { after && ++*after; });
  });
}

// A report raised while another is shown renders and logs its own text,
// replaces the window's, and answers at once with the choice standing then.
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
  test::OnFreshThread([&] {
    Failing(errnum::kOverflow);
    Failing(errnum::kPathNotFound, &outerAfter);
    EXPECT_EQ(ErrorManager().UserChoice(), choice::kRetry);
  });
  EXPECT_EQ(nestedAfter, 1);  // the nested report answered Ignore, the standing choice
  EXPECT_EQ(choiceDuringNested, choice::kIgnore);
  EXPECT_EQ(outerAfter, 1);  // the outer report waited for its Retry
  V reports = Reports();
  EXPECT_THAT(reports, ElementsAre(IsReport(6, "Module1", "Sub Failing"), IsReport(76, "Module1", "Sub Failing"),
                                   IsReport(61, "frmSplash", "Sub Nested")));
  EXPECT_EQ(test::ReadFile(ErrorLog()), std::accumulate(reports.begin(), reports.end(), std::string()));
  // A report that cannot be logged beside the library (the log's name taken by a folder, the library's folder
  // unknown) goes to the user's state folder; one that cannot be logged at all is still shown.
  std::filesystem::remove(ErrorLog()), std::filesystem::create_directory(ErrorLog());
  test::OnFreshThread([] { Report(); });
  libraryLost = true;
  test::OnFreshThread([] { Report(); });
  EXPECT_EQ(test::ReadFile(dir.File("state/jotwell/Jotwell.ErrorLog.txt")), Reports()[3] + Reports()[4]);
  test::ScopedEnv nowhere{"XDG_STATE_HOME", "/proc/none"}, homeless{"HOME", "/proc/none"};
  test::OnFreshThread([] { Report(); });
  EXPECT_EQ(Reports().size(), 6u);
}

}  // namespace
}  // namespace jotwell
