// The report's layout and the registry that feeds it.
#include <gmock/gmock.h>

#include <functional>
#include <regex>

#include "errors/CurrentError.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using test::Array;
using V = std::vector<std::string>;

std::vector<String> Texts(const std::vector<Variant>& values) {
  std::vector<String> texts;
  for (const Variant& v : values) texts.push_back(v.Text().value_or("?"));
  return texts;
}

std::vector<Variant> Longs(size_t count) { return std::vector<Variant>(count, Variant(Long(7))); }

void SetCurrentError(Long number, const String& description, Long line = 0) {
  CurrentError() = ErrorRecord{number, description, "Jotwell", 0, line};
}

// Renders on a fresh thread, so the registry and choice start empty.
class ReportTest : public test::IsolatedReportsTest {
 protected:
  std::string Render(const std::function<void(frmErrMn&)>& prepare, const String& module = "JotBook",
                     const String& proc = "Function DeleteToRecycleBin") {
    test::OnFreshThread([&] {
      SetCurrentError(53, "File not found");
      prepare(ErrorManager());
      ErrorManager().DysplayMessage(module, proc);
    });
    return Reports().empty() ? std::string() : Reports().back();
  }
};

TEST_F(ReportTest, ReproducesTheDeleteToRecycleBinExample) {
  std::string report = Render([](frmErrMn& m) {
    m.AddArgumentsNames(Array({"FileName"}));
    m.AddArgumentsValues(Array({"C:\\Temp\\old.txt"}));
    m.AddVariablesNames(Array({"RetVal", "DoesItExist"}));
    m.AddVariablesValues(Array({Long(0), False}));
    m.AddCall(String("JotBook![Function DeleteToRecycleBin]"));
  });
  std::vector<std::string> lines = test::ReportLines(report);
  ASSERT_GT(lines.size(), 6u);
  EXPECT_TRUE(std::regex_match(lines[5], std::regex(R"(On \d{1,4}\D\d{1,2}\D\d{1,4}( \d{1,2}:\d{2}(:\d{2})?( ?[AaPp]\.?[Mm]\.?)?)?)")))
      << lines[5];
  lines[5] = "On <date>";
  const std::string dash(60, '-');
  EXPECT_EQ(lines, (V{"", dash, "", "Runtime Error in Project:Jotwell", "", "On <date>", "",
                      "Begin Details", "",
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

TEST_F(ReportTest, ShowsTheLineOfProcedureOnlyWhenNotZeroAndNoEmptySections) {
  EXPECT_THAT(Render([](frmErrMn&) { CurrentError().Line = 120; }),
              HasSubstr("Source: Jotwell\r\n        Line of Procedure: 120\r\n        LastDllError"));
  std::string plain = Render([](frmErrMn&) {}, "Module1", "Sub Main");
  EXPECT_THAT(plain, Not(HasSubstr("Line of Procedure")));
  EXPECT_THAT(plain, HasSubstr("    Procedure [Sub Main] in Module [Module1]\r\n\r\nEnd Details\r\n"));
}

TEST_F(ReportTest, ShowsOneValuePerNameAndLeavesOutValuesWithoutTextForm) {
  int object = 0;
  std::string report = Render([&](frmErrMn& m) {
    m.AddArgumentsNames(Array({"a"}));
    m.AddArgumentsValues(Array({Long(1), Long(2)}));
    m.AddVariablesNames(Array({"Mixed", "Grid", "obj", "err", "after"}));
    VariantArray grid;
    grid.dimensions = {{0, 1}, {0, 1}};
    grid.elements = {"a", "b", "c", "d"};
    m.AddVariablesValues(Array({Array({ErrorCode{5}, "a", ObjectRef{&object}, Array({"x"}), "b"}),
                                grid, ObjectRef{&object}, ErrorCode{5}, Long(2)}));
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
      {6, [](frmErrMn& m) { m.AddVariablesNames(Array(Longs(32768), -32768)), m.AddVariablesValues(Array(Longs(32768), -32768)); }}};
  for (auto& [number, prepare] : cases) {
    test::OnFreshThread([&] {
      frmErrMn& m = ErrorManager();
      m.AddCall(String("Module1![Sub Caller]"));
      prepare(m);
      auto state = [&m] {
        return std::vector{Texts(m.ArgumentsNames()), Texts(m.ArgumentsValues()), Texts(m.VariablesNames()),
                           Texts(m.VariablesValues()), m.CallStack()};
      };
      auto before = state();
      SetCurrentError(53, "File not found");
      try {
        m.DysplayMessage("Module1", "Sub Caller");
        ADD_FAILURE() << "no run-time error";
      } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), number);
      }
      EXPECT_EQ(state(), before);
    });
  }
  EXPECT_TRUE(desktop->Shown().empty());
  EXPECT_EQ(desktop->Beeps(), 0);
  EXPECT_FALSE(std::filesystem::exists(library->ErrorLog()));
  EXPECT_EQ(test::SectionOf(Render([](frmErrMn&) { test::FillTrace(32767); }), "Call Stack:").size(), 32767u);
}

// The registry's four lists behave alike.
struct RegistryList {
  const char* name;
  void (frmErrMn::*add)(const VariantArray&);
  const std::vector<Variant>& (frmErrMn::*list)() const;
};

class Registry : public ::testing::TestWithParam<RegistryList> {
 protected:
  // The list after registering `values` over a stale one, or the error number.
  std::variant<std::vector<String>, Long> Register(const VariantArray& values) {
    std::variant<std::vector<String>, Long> result;
    test::OnFreshThread([&] {
      frmErrMn& m = ErrorManager();
      (m.*GetParam().add)(Array({"stale", "stale", "stale", "stale"}));
      try {
        (m.*GetParam().add)(values);
        result = Texts((m.*GetParam().list)());
      } catch (const RuntimeError& error) {
        result = error.Number();
      }
    });
    return result;
  }
};

TEST_P(Registry, TakesOneDimensionalArraysWithSixteenBitBounds) {
  using R = std::variant<std::vector<String>, Long>;
  VariantArray reversed, none, two;
  reversed.dimensions = {{3, 1}};
  two.dimensions = {{0, 0}, {0, 1}};
  two.elements = {"a", "b"};
  EXPECT_EQ(Register(Array({"x", "y", "z"}, 5)), R(std::vector<String>{"x", "y", "z"}));
  EXPECT_EQ(Register(Array({"p", "q"}, -32768)), R(std::vector<String>{"p", "q"}));
  EXPECT_EQ(Register(Array({"p", "q"}, 32766)), R(std::vector<String>{"p", "q"}));
  EXPECT_EQ(Register(reversed), R(std::vector<String>{}));
  EXPECT_EQ(Register(Array({})), R(std::vector<String>{}));
  EXPECT_EQ(Register(Array(Longs(11), 32760)), R(Long(6)));
  EXPECT_EQ(Register(Array(Longs(2), -32769)), R(Long(6)));
  EXPECT_EQ(Register(none), R(Long(9)));
  EXPECT_EQ(Register(two), R(Long(9)));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Registry,
    ::testing::Values(
        RegistryList{"ArgumentsNames", &frmErrMn::AddArgumentsNames, &frmErrMn::ArgumentsNames},
        RegistryList{"ArgumentsValues", &frmErrMn::AddArgumentsValues, &frmErrMn::ArgumentsValues},
        RegistryList{"VariablesNames", &frmErrMn::AddVariablesNames, &frmErrMn::VariablesNames},
        RegistryList{"VariablesValues", &frmErrMn::AddVariablesValues, &frmErrMn::VariablesValues}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReportTest, EmptiesAllFiveListsAndKeepsTheChoice) {
  desktop->QueueReportChoice(choice::kRetry);
  test::OnFreshThread([] {
    frmErrMn& m = ErrorManager();
    m.AddArgumentsNames(Array({"a"}));
    m.AddArgumentsValues(Array({Long(1)}));
    m.AddVariablesNames(Array({"v"}));
    m.AddVariablesValues(Array({Long(2)}));
    m.AddCall(String("JotBook![Sub Failing]"));
    EXPECT_EQ(m.DysplayMessage("JotBook", "Sub Failing"), choice::kRetry);
    EXPECT_TRUE(m.ArgumentsNames().empty() && m.ArgumentsValues().empty());
    EXPECT_TRUE(m.VariablesNames().empty() && m.VariablesValues().empty());
    EXPECT_EQ(m.CallDepth(), 0u);
    EXPECT_EQ(m.UserChoice(), choice::kRetry);
  });
}

}  // namespace
}  // namespace jotwell
