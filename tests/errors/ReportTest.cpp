// The report: its layout, the registry that feeds it, the window's answers
// and the error log.
#include <gmock/gmock.h>

#include <functional>
#include <regex>

#include "errors/CurrentError.h"
#include "errors/Trap.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using test::Array;
using V = std::vector<std::string>;

std::vector<Variant> Longs(size_t count) { return std::vector<Variant>(count, Variant(Long(7))); }

// The registry's five lists, as texts.
std::vector<std::vector<String>> Lists(const frmErrMn& m) {
  std::vector<std::vector<String>> lists;
  for (const auto* list : {&m.ArgumentsNames(), &m.ArgumentsValues(), &m.VariablesNames(), &m.VariablesValues()}) {
    lists.emplace_back();
    for (const Variant& v : *list) lists.back().push_back(v.Text().value_or("?"));
  }
  lists.emplace_back(m.CallStack().begin(), m.CallStack().end());
  return lists;
}

// Reports error 53 from `module`'s `proc` after `prepare` filled the registry.
Long Report(const std::function<void(frmErrMn&)>& prepare = [](frmErrMn&) {}, const String& module = "JotBook",
            const String& proc = "Function DeleteToRecycleBin") {
  CurrentError() = ErrorRecord{53, "File not found", "Jotwell", 0, 0};
  prepare(ErrorManager());
  return ErrorManager().DysplayMessage(module, proc);
}

// Each test reports on fresh threads, so registry and choice start empty.
class ReportTest : public test::IsolatedReportsTest {
 protected:
  std::string Render(const std::function<void(frmErrMn&)>& prepare, const String& module = "JotBook",
                     const String& proc = "Function DeleteToRecycleBin") {
    test::OnFreshThread([&] { Report(prepare, module, proc); });
    return Reports().empty() ? std::string() : Reports().back();
  }
};

TEST_F(ReportTest, ReproducesTheDeleteToRecycleBinExample) {
  V lines = test::ReportLines(Render([](frmErrMn& m) {
    m.AddArgumentsNames(Array({"FileName"}));
    m.AddArgumentsValues(Array({"C:\\Temp\\old.txt"}));
    m.AddVariablesNames(Array({"RetVal", "DoesItExist"}));
    m.AddVariablesValues(Array({Long(0), False}));
    m.AddCall({"JotBook![Function DeleteToRecycleBin]"});
  }));
  ASSERT_GT(lines.size(), 6u);
  EXPECT_TRUE(std::regex_match(
      lines[5], std::regex(R"(On \d{1,4}\D\d{1,2}\D\d{1,4}( \d{1,2}:\d{2}(:\d{2})?( ?[AaPp]\.?[Mm]\.?)?)?)")))
      << lines[5];
  lines[5] = "On <date>";
  const std::string dash(60, '-');
  EXPECT_EQ(lines, (V{"", dash, "", "Runtime Error in Project:Jotwell", "", "On <date>", "", "Begin Details", "",
                      "    Error Details:",
                      "        Number: 53",
                      "        Description: File not found",
                      "        Source: Jotwell",
                      "        LastDllError: 0", "",
                      "    Procedure [Function DeleteToRecycleBin] in Module [JotBook]", "",
                      "        Arguments:",
                      "            FileName = C:\\Temp\\old.txt", "",
                      "        Variables:",
                      "            RetVal = 0",
                      "            DoesItExist = False", "",
                      "        Call Stack:",
                      "            >JotBook![Function DeleteToRecycleBin]", "",
                      "End Details", dash, ""}));
}

TEST_F(ReportTest, ReproducesTheArrayAndMissingValueLines) {
  std::string report = Render([](frmErrMn& m) {
    m.AddArgumentsNames(Array({"Items", "Rows", "Tags", "Level"}));
    m.AddArgumentsValues(Array({Array({"a", "b"}), Array({}), Array({"", "x"}), Variant::Missing()}));
  });
  EXPECT_EQ(test::SectionOf(report, "Arguments:"),
            (V{"Items() = (a , b)", "Rows() = ()", "Tags() = (x)", "Level: Missing"}));
  EXPECT_THAT(report, Not(HasSubstr("Variables:")));
}

TEST_F(ReportTest, ShowsOnlyWhatItHas) {
  EXPECT_THAT(Render([](frmErrMn&) { CurrentError().Line = 120; }),
              HasSubstr("Source: Jotwell\r\n        Line of Procedure: 120\r\n        LastDllError"));
  std::string plain = Render([](frmErrMn&) {}, "Module1", "Sub Main");
  EXPECT_THAT(plain, Not(HasSubstr("Line of Procedure")));
  EXPECT_THAT(plain, HasSubstr("    Procedure [Sub Main] in Module [Module1]\r\n\r\nEnd Details\r\n"));
  // One value per name; values and elements without a text form are left out.
  int object = 0;
  std::string report = Render([&](frmErrMn& m) {
    VariantArray grid;
    grid.dimensions = {{0, 1}, {0, 1}};
    grid.elements = {"a", "b", "c", "d"};
    m.AddArgumentsNames(Array({"a"}));
    m.AddArgumentsValues(Array({Long(1), Long(2)}));
    m.AddVariablesNames(Array({"Mixed", "Grid", "obj", "err", "after"}));
    m.AddVariablesValues(Array({Array({ErrorCode{5}, "a", ObjectRef{&object}, Array({"x"}), "b"}), grid,
                                ObjectRef{&object}, ErrorCode{5}, Long(2)}));
  });
  EXPECT_EQ(test::SectionOf(report, "Arguments:"), V{"a = 1"});
  EXPECT_EQ(test::SectionOf(report, "Variables:"), (V{"Mixed() = (a , b)", "Grid() = ()", "after = 2"}));
}

// A report that cannot be rendered raises and leaves everything as it was:
// nothing shown or logged, the registry untouched. 32767 entries still render.
TEST_F(ReportTest, AnUnrenderableReportRaisesAndLeavesTheRegistryAlone) {
  std::pair<Long, std::function<void(frmErrMn&)>> cases[] = {
      {9, [](frmErrMn& m) { m.AddArgumentsNames(Array({"a", "b"})), m.AddArgumentsValues(Array({Long(1)})); }},
      {6, [](frmErrMn&) { test::FillTrace(32767); }},
      {6, [](frmErrMn& m) {
         m.AddVariablesNames(Array(Longs(32768), -32768)), m.AddVariablesValues(Array(Longs(32768), -32768));
       }}};
  for (auto& [number, prepare] : cases) {
    test::OnFreshThread([&] {
      ErrorManager().AddCall({"Module1![Sub Caller]"});
      prepare(ErrorManager());
      auto before = Lists(ErrorManager());
      try {
        Report();
        ADD_FAILURE() << "no run-time error";
      } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), number);
      }
      EXPECT_EQ(Lists(ErrorManager()), before);
    });
  }
  EXPECT_TRUE(desktop->Shown().empty());
  EXPECT_EQ(desktop->Beeps(), 0);
  EXPECT_FALSE(std::filesystem::exists(library->ErrorLog()));
  EXPECT_EQ(test::SectionOf(Render([](frmErrMn&) { test::FillTrace(32767); }), "Call Stack:").size(), 32767u);
}

TEST_F(ReportTest, EmptiesTheListsAndKeepsTheChoice) {
  desktop->QueueReportChoice(choice::kRetry);
  test::OnFreshThread([] {
    EXPECT_EQ(Report([](frmErrMn& m) {
                m.AddArgumentsNames(Array({"a"})), m.AddArgumentsValues(Array({Long(1)}));
                m.AddVariablesNames(Array({"v"})), m.AddVariablesValues(Array({Long(2)}));
                m.AddCall({"JotBook![Sub Failing]"});
              }),
              choice::kRetry);
    EXPECT_EQ(Lists(ErrorManager()), std::vector<std::vector<String>>(5));
    EXPECT_EQ(ErrorManager().UserChoice(), choice::kRetry);
  });
}

// The registry's four lists behave alike: each takes a one-dimensional array
// with 16-bit bounds in place of what it held.
TEST(Registry, TakesOneDimensionalArraysWithSixteenBitBounds) {
  VariantArray reversed, none, two;
  reversed.dimensions = {{3, 1}};
  two.dimensions = {{0, 0}, {0, 1}};
  two.elements = {"a", "b"};
  std::pair<VariantArray, std::string> cases[] = {
      {Array({"x", "y", "z"}, 5), "x;y;z;"}, {Array({"p", "q"}, -32768), "p;q;"}, {Array({"p", "q"}, 32766), "p;q;"},
      {reversed, ""},                        {Array({}), ""},                     {Array(Longs(11), 32760), "error 6"},
      {Array(Longs(2), -32769), "error 6"},  {none, "error 9"},                   {two, "error 9"}};
  using Add = void (frmErrMn::*)(const VariantArray&);
  Add adds[] = {&frmErrMn::AddArgumentsNames, &frmErrMn::AddArgumentsValues, &frmErrMn::AddVariablesNames,
                &frmErrMn::AddVariablesValues};
  for (size_t list = 0; list < 4; ++list) {
    for (const auto& [values, expected] : cases) {
      std::string result;  // the list after registering over a stale one, or the error
      test::OnFreshThread([&, add = adds[list], &values = values] {
        (ErrorManager().*add)(Array({"stale", "stale"}));
        try {
          (ErrorManager().*add)(values);
          auto lists = Lists(ErrorManager());
          for (const String& text : lists[list]) result += text + ";";
        } catch (const RuntimeError& error) {
          result = "error " + std::to_string(error.Number());
        }
      });
      EXPECT_EQ(result, expected) << "list " << list;
    }
  }
}

constexpr Procedure kFailing = "Module1![Sub Failing]";

// A traced procedure whose first statement fails with `number`; `after`
// counts the statements that ran after it.
void Failing(Long number, int* after = nullptr, const Procedure& proc = kFailing) {
  RunTraced(proc, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { throw RuntimeError(number); });
    trap.Do([&] { after && ++*after; });
  });
}

TEST_F(ReportTest, TheWindowAnswersWithTheChosenButtonOrThePreviousChoice) {
  for (Long c : {0, 3, 5, 4, 0}) desktop->QueueReportChoice(c);
  desktop->QueueReportButtons({ReportWindow::kCopyButton, ReportWindow::kIgnoreButton});
  test::OnFreshThread([] {
    EXPECT_EQ(Report(), 0);  // closed without a choice: none made yet on this thread
    for (Long c : {3, 5, 4}) {
      EXPECT_EQ(Report(), c);
      EXPECT_EQ(ErrorManager().UserChoice(), c);
    }
    EXPECT_EQ(Report(), 4);  // closed without a choice: the previous one
    EXPECT_EQ(Report(), 5);  // Copy kept the window open for Ignore
  });
  ASSERT_EQ(Reports().size(), 6u);
  EXPECT_EQ(desktop->Beeps(), 6);
  EXPECT_EQ(desktop->Clipboard(), Reports().back());
}

// A report raised while another is shown renders and logs its own text,
// replaces the window's, and answers at once with the choice standing then.
TEST_F(ReportTest, ANestedReportReplacesTheTextAndDoesNotWait) {
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

TEST_F(ReportTest, TwoReportsFollowEachOtherInTheErrorLog) {
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

TEST_F(ReportTest, AReportThatCannotBeLoggedIsStillShown) {
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
