// The report's layout and the registry that feeds it.
#include <functional>
#include <regex>

#include "errors/CurrentError.h"
#include "errors/frmErrMn.h"
#include "support/ReportSupport.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

using Kind = testing::ScriptedDesktop::Kind;

VariantArray Array(std::vector<Variant> elements, Long lower = 0) {
  return VariantArray::OneDimensional(std::move(elements), lower);
}

std::vector<String> Texts(const std::vector<Variant>& values) {
  std::vector<String> texts;
  for (const Variant& v : values) texts.push_back(v.Text().value_or("?"));
  return texts;
}

std::string WithCrLf(std::string text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

void SetCurrentError(Long number, const String& description, Long line = 0) {
  CurrentError() = ErrorRecord{number, description, "Jotwell", 0, line};
}

// Each test renders on a fresh thread, so its registry and choice start
// empty, with the error log kept in the test's own folder.
class ReportTest : public test::IsolatedReportsTest {
 protected:
  std::string Render(const std::function<void(frmErrMn&)>& prepare,
                     const String& module = "JotBook",
                     const String& proc = "Function DeleteToRecycleBin") {
    test::OnFreshThread([&] {
      SetCurrentError(53, "File not found");
      prepare(ErrorManager());
      ErrorManager().DysplayMessage(module, proc);
    });
    std::vector<testing::ScriptedDesktop::Entry> reports = desktop->Shown(Kind::Report);
    return reports.empty() ? std::string() : reports.back().text;
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
  EXPECT_TRUE(std::regex_match(
      lines[5], std::regex(R"(On \d{1,4}\D\d{1,2}\D\d{1,4}( \d{1,2}:\d{2}(:\d{2})?( ?[AaPp]\.?[Mm]\.?)?)?)")))
      << lines[5];
  std::string dated = report;
  dated.replace(dated.find(lines[5]), lines[5].size(), "On <date>");
  EXPECT_EQ(dated, WithCrLf(R"(
------------------------------------------------------------

Runtime Error in Project:Jotwell

On <date>

Begin Details

    Error Details:
        Number: 53
        Description: File not found
        Source: Jotwell
        LastDllError: 0

    Procedure [Function DeleteToRecycleBin] in Module [JotBook]

        Arguments:
            FileName = C:\Temp\old.txt

        Variables:
            RetVal = 0
            DoesItExist = False

        Call Stack:
            >JotBook![Function DeleteToRecycleBin]

End Details
------------------------------------------------------------
)"));
}

TEST_F(ReportTest, ReproducesTheArrayAndMissingValueLines) {
  std::string report = Render([](frmErrMn& m) {
    m.AddArgumentsNames(Array({"Items", "Rows", "Tags", "Level"}));
    m.AddArgumentsValues(
        Array({Array({"a", "b"}), Array({}), Array({"", "x"}), Variant::Missing()}));
  });
  EXPECT_EQ(test::SectionOf(report, "Arguments:"),
            (std::vector<std::string>{"Items() = (a , b)", "Rows() = ()", "Tags() = (x)",
                                      "Level: Missing"}));
  EXPECT_EQ(test::SectionOf(report, "Variables:"), std::vector<std::string>{});
}

TEST_F(ReportTest, ShowsTheLineOfProcedureOnlyWhenItIsNotZero) {
  std::vector<std::string> withLine = test::ReportLines(Render([](frmErrMn&) {
    CurrentError().Line = 120;
  }));
  auto source = std::find(withLine.begin(), withLine.end(), "        Source: Jotwell");
  ASSERT_NE(source, withLine.end());
  EXPECT_EQ(source[1], "        Line of Procedure: 120");
  EXPECT_EQ(source[2], "        LastDllError: 0");

  std::string without = Render([](frmErrMn&) {});
  EXPECT_EQ(without.find("Line of Procedure"), std::string::npos);
}

TEST_F(ReportTest, WithoutContextGoesFromTheProcedureLineStraightToTheEnd) {
  std::string report = Render([](frmErrMn&) {}, "Module1", "Sub Main");
  std::string tail = "    Procedure [Sub Main] in Module [Module1]\r\n\r\nEnd Details\r\n" +
                     std::string(60, '-') + "\r\n";
  ASSERT_GE(report.size(), tail.size());
  EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

TEST_F(ReportTest, ShowsOnlyAsManyValuesAsThereAreNames) {
  std::string report = Render([](frmErrMn& m) {
    m.AddArgumentsNames(Array({"a"}));
    m.AddArgumentsValues(Array({Long(1), Long(2), Long(3)}));
  });
  EXPECT_EQ(test::SectionOf(report, "Arguments:"), std::vector<std::string>{"a = 1"});
}

TEST_F(ReportTest, LeavesOutElementsAndValuesWithoutTextForm) {
  int object = 0;
  std::string report = Render([&](frmErrMn& m) {
    m.AddVariablesNames(Array({"Mixed", "Grid", "before", "obj", "err", "after"}));
    VariantArray grid;
    grid.dimensions = {{0, 1}, {0, 1}};
    grid.elements = {"a", "b", "c", "d"};
    m.AddVariablesValues(
        Array({Array({ErrorCode{5}, "a", ObjectRef{&object}, Array({"x"}), Variant::Missing(), "b"}),
               grid, Long(1), ObjectRef{&object}, ErrorCode{5}, Long(2)}));
  });
  EXPECT_EQ(test::SectionOf(report, "Variables:"),
            (std::vector<std::string>{"Mixed() = (a , b)", "Grid() = ()", "before = 1",
                                      "after = 2"}));
}

// A report that cannot be rendered ends DysplayMessage with a run-time error
// and leaves everything as it was: nothing shown, logged or emptied.
struct Unrenderable {
  const char* name;
  Long number;
  std::function<void(frmErrMn&)> prepare;
};

class UnrenderableReport : public ReportTest,
                           public ::testing::WithParamInterface<Unrenderable> {};

TEST_P(UnrenderableReport, RaisesAndLeavesTheRegistryAlone) {
  test::OnFreshThread([&] {
    frmErrMn& m = ErrorManager();
    m.AddCall(String("Module1![Sub Caller]"));
    GetParam().prepare(m);
    std::vector<String> names = Texts(m.ArgumentsNames()), values = Texts(m.ArgumentsValues());
    std::vector<String> variableNames = Texts(m.VariablesNames());
    std::vector<String> variableValues = Texts(m.VariablesValues());
    size_t depth = m.CallDepth();

    SetCurrentError(53, "File not found");
    try {
      m.DysplayMessage("Module1", "Sub Caller");
      ADD_FAILURE() << "no run-time error";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), GetParam().number);
    }
    EXPECT_EQ(Texts(m.ArgumentsNames()), names);
    EXPECT_EQ(Texts(m.ArgumentsValues()), values);
    EXPECT_EQ(Texts(m.VariablesNames()), variableNames);
    EXPECT_EQ(Texts(m.VariablesValues()), variableValues);
    EXPECT_EQ(m.CallDepth(), depth);
  });
  EXPECT_TRUE(desktop->Shown().empty());
  EXPECT_EQ(desktop->Beeps(), 0);
  EXPECT_FALSE(std::filesystem::exists(library->ErrorLog()));
}

std::vector<Variant> Longs(size_t count) { return std::vector<Variant>(count, Variant(Long(7))); }

INSTANTIATE_TEST_SUITE_P(
    Cases, UnrenderableReport,
    ::testing::Values(
        Unrenderable{"FewerValuesThanNames", errnum::kSubscriptOutOfRange,
                     [](frmErrMn& m) {
                       m.AddArgumentsNames(Array({"a", "b"}));
                       m.AddArgumentsValues(Array({Long(1)}));
                     }},
        Unrenderable{"TraceOver32767", errnum::kOverflow,
                     [](frmErrMn&) { test::FillTrace(32767); }},
        Unrenderable{"NamesOver32767", errnum::kOverflow,
                     [](frmErrMn& m) {
                       m.AddVariablesNames(Array(Longs(32768), -32768));
                       m.AddVariablesValues(Array(Longs(32768), -32768));
                     }},
        Unrenderable{"ValuesOver32767", errnum::kOverflow,
                     [](frmErrMn& m) {
                       m.AddArgumentsNames(Array({"a"}));
                       m.AddArgumentsValues(Array(Longs(32768), -32768));
                     }}),
    [](const ::testing::TestParamInfo<Unrenderable>& info) { return info.param.name; });

TEST_F(ReportTest, RendersATraceOfExactly32767Entries) {
  std::string report = Render([](frmErrMn&) { test::FillTrace(32767); });
  EXPECT_EQ(test::SectionOf(report, "Call Stack:").size(), 32767u);
}

// The registry's four lists behave alike.
struct RegistryList {
  const char* name;
  void (frmErrMn::*add)(const VariantArray&);
  const std::vector<Variant>& (frmErrMn::*list)() const;
};

class Registry : public ::testing::TestWithParam<RegistryList> {
 protected:
  std::vector<String> Registered(const VariantArray& values) {
    std::vector<String> texts;
    test::OnFreshThread([&] {
      frmErrMn& m = ErrorManager();
      (m.*GetParam().add)(Array({"stale", "stale", "stale", "stale"}));
      (m.*GetParam().add)(values);
      texts = Texts((m.*GetParam().list)());
    });
    return texts;
  }
  Long FailureOf(const VariantArray& values) {
    Long number = 0;
    test::OnFreshThread([&] {
      try {
        (ErrorManager().*GetParam().add)(values);
      } catch (const RuntimeError& error) {
        number = error.Number();
      }
    });
    return number;
  }
};

TEST_P(Registry, ReplacesTheListWithTheArraysElementsInOrder) {
  EXPECT_EQ(Registered(Array({"a", "b", "c"}, 1)), (std::vector<String>{"a", "b", "c"}));
  EXPECT_EQ(Registered(Array({"z"}, 0)), std::vector<String>{"z"});
  EXPECT_EQ(Registered(Array({"x", "y", "z"}, 5)), (std::vector<String>{"x", "y", "z"}));
  EXPECT_EQ(Registered(Array({"p", "q"}, -32768)), (std::vector<String>{"p", "q"}));
  EXPECT_EQ(Registered(Array({"p", "q"}, 32766)), (std::vector<String>{"p", "q"}));
}

TEST_P(Registry, AnArrayWithUpperBelowLowerLeavesTheListEmpty) {
  VariantArray empty;
  empty.dimensions = {{3, 1}};
  EXPECT_TRUE(Registered(empty).empty());
  EXPECT_TRUE(Registered(Array({})).empty());
}

TEST_P(Registry, BoundsOutsideSixteenBitsOverflow) {
  EXPECT_EQ(FailureOf(Array(Longs(11), 32760)), errnum::kOverflow);
  EXPECT_EQ(FailureOf(Array(Longs(2), -32769)), errnum::kOverflow);
}

TEST_P(Registry, ArraysWithoutExactlyOneDimensionAreOutOfRange) {
  VariantArray none;
  EXPECT_EQ(FailureOf(none), errnum::kSubscriptOutOfRange);
  VariantArray two;
  two.dimensions = {{0, 0}, {0, 1}};
  two.elements = {"a", "b"};
  EXPECT_EQ(FailureOf(two), errnum::kSubscriptOutOfRange);
}

TEST_P(Registry, KeepsACopyOfTheValues) {
  test::OnFreshThread([&] {
    VariantArray values = Array({"before"});
    (ErrorManager().*GetParam().add)(values);
    values.elements[0] = "after";
    EXPECT_EQ(Texts((ErrorManager().*GetParam().list)()), std::vector<String>{"before"});
  });
}

INSTANTIATE_TEST_SUITE_P(
    Lists, Registry,
    ::testing::Values(
        RegistryList{"ArgumentsNames", &frmErrMn::AddArgumentsNames, &frmErrMn::ArgumentsNames},
        RegistryList{"ArgumentsValues", &frmErrMn::AddArgumentsValues, &frmErrMn::ArgumentsValues},
        RegistryList{"VariablesNames", &frmErrMn::AddVariablesNames, &frmErrMn::VariablesNames},
        RegistryList{"VariablesValues", &frmErrMn::AddVariablesValues,
                     &frmErrMn::VariablesValues}),
    [](const ::testing::TestParamInfo<RegistryList>& info) { return info.param.name; });

TEST(CallTrace, RemoveLastCallTakesOnlyTheNewestEntryAndIgnoresAnEmptyTrace) {
  test::OnFreshThread([] {
    frmErrMn& m = ErrorManager();
    m.RemoveLastCall();
    EXPECT_EQ(m.CallDepth(), 0u);
    m.AddCall(String("JotBook![Sub First]"));
    m.AddCall(String("JotBook![Sub Second]"));
    m.RemoveLastCall();
    EXPECT_EQ(m.CallStack(), std::vector<String>{"JotBook![Sub First]"});
    m.RemoveLastCall();
    m.RemoveLastCall();
    EXPECT_EQ(m.CallDepth(), 0u);
  });
}

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
    EXPECT_TRUE(m.ArgumentsNames().empty());
    EXPECT_TRUE(m.ArgumentsValues().empty());
    EXPECT_TRUE(m.VariablesNames().empty());
    EXPECT_TRUE(m.VariablesValues().empty());
    EXPECT_EQ(m.CallDepth(), 0u);
    EXPECT_EQ(m.UserChoice(), choice::kRetry);
    EXPECT_EQ(m.ExitProgram(), 0);
  });
}

}  // namespace
}  // namespace jotwell
