// The error trap: Retry, Ignore and Abort per statement, the trace on every
// exit, local error blocks, and errors raised while a handler runs.
#include <new>
#include <stdexcept>

#include "errors/Trap.h"
#include "support/AllocationCounter.h"
#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using Kind = testing::ScriptedDesktop::Kind;

constexpr Procedure kProbe = "Module1![Function Probe]";
constexpr Procedure kOuter = "Module1![Sub Outer]";
constexpr Procedure kInner = "Module1![Sub Inner]";

Long Overflowing() { throw RuntimeError(errnum::kOverflow); }

class TrapTest : public test::IsolatedReportsTest {
 protected:
  std::vector<std::string> Reports() const {
    std::vector<std::string> texts;
    for (const auto& entry : desktop->Shown(Kind::Report)) texts.push_back(entry.text);
    return texts;
  }
};

TEST_F(TrapTest, RetryRunsTheFailingStatementAgainFromItsStart) {
  desktop->QueueReportChoice(choice::kRetry);
  int attempts = 0, after = 0;
  test::OnFreshThread([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] {
        if (++attempts == 1) throw RuntimeError(errnum::kDiskFull);
      });
      trap.Do([&] { ++after; });
    });
  });
  EXPECT_EQ(attempts, 2);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(Reports().size(), 1u);
}

TEST_F(TrapTest, AStatementThatKeepsFailingShowsAReportForEachFailure) {
  for (Long c : {choice::kRetry, choice::kRetry, choice::kIgnore}) desktop->QueueReportChoice(c);
  int attempts = 0, after = 0;
  test::OnFreshThread([&] {
    String Path = "/nowhere";
    RunTraced(
        kProbe, [&](Registrations& r) { r.Arguments({{"Path", Path}}); },
        [&](Trap& trap) {
          trap.Do([&] {
            ++attempts;
            throw RuntimeError(errnum::kPathNotFound);
          });
          trap.Do([&] { ++after; });
        });
  });
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(after, 1);
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 3u);
  for (const std::string& report : reports)
    EXPECT_EQ(test::SectionOf(report, "Arguments:"), std::vector<std::string>{"Path = /nowhere"});
  // The first report emptied the trace; the retries push nothing new.
  EXPECT_EQ(test::SectionOf(reports[0], "Call Stack:"),
            std::vector<std::string>{">Module1![Function Probe]"});
  EXPECT_TRUE(test::SectionOf(reports[1], "Call Stack:").empty());
}

TEST_F(TrapTest, IgnoreSkipsTheStatementAndLeavesItsAssignmentUndone) {
  desktop->QueueReportChoice(choice::kIgnore);
  Long value = 1;
  int after = 0;
  test::OnFreshThread([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] { value = Overflowing(); });
      trap.Do([&] { ++after; });
    });
  });
  EXPECT_EQ(value, 1);
  EXPECT_EQ(after, 1);
}

TEST_F(TrapTest, IgnoreOnAFailingBranchTestEntersTheBranch) {
  desktop->QueueReportChoice(choice::kIgnore);
  bool entered = false;
  test::OnFreshThread([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      if (trap.If([]() -> bool { throw RuntimeError(errnum::kSubscriptOutOfRange); }))
        trap.Do([&] { entered = true; });
    });
  });
  EXPECT_TRUE(entered);
}

// A function left by Abort returns what it had assigned, else the empty value.
template <class T>
T AbortedFunction(std::optional<T> assignedBeforeError, T late, int& statementsAfter) {
  T result{};
  RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
    if (assignedBeforeError) trap.Do([&] { result = *assignedBeforeError; });
    trap.Do([] { throw RuntimeError(errnum::kFileNotFound); });
    trap.Do([&] {
      result = late;
      ++statementsAfter;
    });
  });
  return result;
}

TEST_F(TrapTest, AbortLeavesAtOnceWithTheEmptyValueOrWhatWasAssigned) {
  int after = 0;
  test::OnFreshThread([&] {
    EXPECT_EQ(AbortedFunction<String>(std::nullopt, "late", after), "");
    EXPECT_EQ(AbortedFunction<Long>(std::nullopt, 9, after), 0);
    EXPECT_EQ(AbortedFunction<Integer>(std::nullopt, 9, after), 0);
    EXPECT_EQ(AbortedFunction<Boolean>(std::nullopt, True, after), False);
    EXPECT_EQ(AbortedFunction<Currency>(std::nullopt, Currency::FromScaled(5), after), Currency());
    EXPECT_EQ(AbortedFunction<String>(String("early"), "late", after), "early");
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
  EXPECT_EQ(after, 0);
  EXPECT_EQ(Reports().size(), 6u);  // an empty queue answers Abort
}

TEST_F(TrapTest, RegistrationsShowTheValuesAtTheTimeOfTheError) {
  std::string report;
  test::OnFreshThread([&] {
    String FileName = "first";
    Long count = 0;
    Boolean done;
    RunTraced(
        kProbe,
        [&](Registrations& r) {
          r.Arguments({{"FileName", FileName}});
          r.Variables({{"count", count}, {"done", done}});
        },
        [&](Trap& trap) {
          trap.Do([&] {
            FileName = "second";
            count = 42;
          });
          trap.Do([] { throw RuntimeError(errnum::kDeviceIO); });
          trap.Do([&] { count = 7; });
        });
  });
  ASSERT_EQ(Reports().size(), 1u);
  report = Reports()[0];
  EXPECT_EQ(test::SectionOf(report, "Arguments:"), std::vector<std::string>{"FileName = second"});
  EXPECT_EQ(test::SectionOf(report, "Variables:"),
            (std::vector<std::string>{"count = 42", "done = False"}));
  EXPECT_NE(report.find("    Procedure [Function Probe] in Module [Module1]"), std::string::npos);
}

// Every exit that does not go through a report leaves the trace as deep as
// it was found; after a report only what was pushed since is left to pop.
struct ExitPath {
  const char* name;
  Long answer;
  size_t depthBefore;
  size_t depthAfter;
  std::function<void(Trap&)> body;
};

class TraceDepth : public TrapTest, public ::testing::WithParamInterface<ExitPath> {};

TEST_P(TraceDepth, IsRestoredOnExit) {
  desktop->QueueReportChoice(GetParam().answer);
  test::OnFreshThread([&] {
    test::FillTrace(GetParam().depthBefore);
    RunTraced(kProbe, NoRegistrations, GetParam().body);
    EXPECT_EQ(ErrorManager().CallDepth(), GetParam().depthAfter);
  });
}

void FailOnce(Trap& trap) {
  bool failed = false;
  trap.Do([&] {
    if (!failed) {
      failed = true;
      throw RuntimeError(errnum::kDiskFull);
    }
  });
}

void CallInner() {
  RunTraced(kInner, NoRegistrations, [](Trap& trap) {
    if (trap.If([] { return true; })) return;
  });
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TraceDepth,
    ::testing::Values(
        ExitPath{"EndOfBody", 0, 2, 2, [](Trap& trap) { trap.Do([] {}); }},
        ExitPath{"EarlyReturn", 0, 2, 2,
                 [](Trap& trap) {
                   if (trap.If([] { return true; })) return;
                   ADD_FAILURE() << "ran past the early return";
                 }},
        ExitPath{"NestedCalls", 0, 2, 2, [](Trap& trap) { trap.Do(CallInner); }},
        ExitPath{"LocalBlockSuccess", 0, 2, 2,
                 [](Trap& trap) { trap.WithLocalBlock([] {}, [](const RuntimeError&) {}); }},
        ExitPath{"LocalBlockExit", 0, 2, 2,
                 [](Trap& trap) {
                   trap.WithLocalBlock([] { throw RuntimeError(errnum::kDiskFull); },
                                       [](const RuntimeError&) {});
                 }},
        ExitPath{"Retry", choice::kRetry, 0, 0, FailOnce},
        ExitPath{"Ignore", choice::kIgnore, 0, 0, FailOnce},
        ExitPath{"Abort", choice::kAbort, 0, 0, FailOnce},
        // The report emptied the callers' entries; the procedure's own pop
        // then finds nothing, and a call made since pushes and pops its own.
        ExitPath{"IgnoreBelowCallers", choice::kIgnore, 2, 0,
                 [](Trap& trap) {
                   FailOnce(trap);
                   trap.Do(CallInner);
                 }}),
    [](const ::testing::TestParamInfo<ExitPath>& info) { return info.param.name; });

TEST_F(TrapTest, AnErrorInTheHandlerReachesAnUntracedCaller) {
  test::OnFreshThread([] {
    try {
      RunTraced(
          kInner, [](Registrations&) -> void { throw RuntimeError(13); },
          [](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kDiskFull); }); });
      ADD_FAILURE() << "the error stayed inside";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 13);
    }
  });
  EXPECT_TRUE(Reports().empty());
}

TEST_F(TrapTest, AReportThatFailsLeavesTheProcedureWithTheReportsError) {
  test::OnFreshThread([] {
    test::FillTrace(32767);  // with the procedure's own entry the trace is too long to report
    try {
      RunTraced(kInner, NoRegistrations,
                [](Trap& trap) { trap.Do([] { throw RuntimeError(errnum::kDiskFull); }); });
      ADD_FAILURE() << "the error stayed inside";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), errnum::kOverflow);
    }
    EXPECT_EQ(ErrorManager().CallDepth(), 32768u);
  });
  EXPECT_TRUE(Reports().empty());
}

TEST_F(TrapTest, ATracedCallerHandlesTheHandlersErrorUnderItsOwnName) {
  desktop->QueueReportChoice(choice::kIgnore);
  int after = 0;
  test::OnFreshThread([&] {
    RunTraced(kOuter, NoRegistrations, [&](Trap& trap) {
      trap.Do([] {
        RunTraced(
            kInner, [](Registrations&) -> void { throw RuntimeError(13); },
            [](Trap& inner) { inner.Do([] { throw RuntimeError(errnum::kDiskFull); }); });
      });
      trap.Do([&] { ++after; });
    });
  });
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("        Number: 13\r\n"), std::string::npos);
  EXPECT_NE(reports[0].find("    Procedure [Sub Outer] in Module [Module1]"), std::string::npos);
  EXPECT_EQ(test::SectionOf(reports[0], "Call Stack:"),
            (std::vector<std::string>{">Module1![Sub Outer]", ">Module1![Sub Inner]"}));
  EXPECT_EQ(after, 1);
}

TEST_F(TrapTest, ALocalBlockReceivesLaterErrorsWithoutAReport) {
  desktop->QueueReportChoice(choice::kIgnore);
  Long received = 0, recorded = 0;
  int beforeSwitch = 0, skipped = 0;
  test::OnFreshThread([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.Do([&] {
        ++beforeSwitch;
        throw RuntimeError(errnum::kPathNotFound);
      });
      trap.WithLocalBlock(
          [&] {
            if (beforeSwitch > 0) throw RuntimeError(errnum::kDiskFull, 28);
            ++skipped;
          },
          [&](const RuntimeError& error) {
            received = error.Number();
            recorded = CurrentError().LastDllError;
          });
    });
  });
  EXPECT_EQ(beforeSwitch, 1);
  EXPECT_EQ(received, errnum::kDiskFull);
  EXPECT_EQ(recorded, 28);
  EXPECT_EQ(skipped, 0);
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);  // only the error before the switch
  EXPECT_NE(reports[0].find("Number: 76"), std::string::npos);
  EXPECT_EQ(desktop->Beeps(), 1);
}

TEST_F(TrapTest, AnErrorInsideTheLocalBlockReachesTheCaller) {
  test::OnFreshThread([] {
    EXPECT_THROW(RunTraced(kProbe, NoRegistrations,
                           [](Trap& trap) {
                             trap.WithLocalBlock(
                                 [] { throw RuntimeError(errnum::kDiskFull); },
                                 [](const RuntimeError&) { throw RuntimeError(errnum::kDeviceIO); });
                           }),
                 RuntimeError);
  });
  EXPECT_TRUE(Reports().empty());
}

// Standard exceptions raised inside traced code become run-time errors.
struct Translation {
  const char* name;
  std::function<void()> raise;
  Long number;
  std::string description;
};

class ExceptionTranslation : public TrapTest, public ::testing::WithParamInterface<Translation> {};

TEST_P(ExceptionTranslation, ReachesTheReportAndTheLocalBlock) {
  Long inBlock = 0;
  String blockDescription;
  test::OnFreshThread([&] {
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) { trap.Do(GetParam().raise); });
    RunTraced(kProbe, NoRegistrations, [&](Trap& trap) {
      trap.WithLocalBlock(GetParam().raise, [&](const RuntimeError& error) {
        inBlock = error.Number();
        blockDescription = error.Description();
      });
    });
  });
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("        Number: " + std::to_string(GetParam().number) +
                            "\r\n        Description: " + GetParam().description + "\r\n"),
            std::string::npos)
      << reports[0];
  EXPECT_EQ(inBlock, GetParam().number);
  EXPECT_EQ(blockDescription, GetParam().description);
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, ExceptionTranslation,
    ::testing::Values(
        Translation{"BadAlloc", [] { throw std::bad_alloc(); }, 7, "Out of memory"},
        Translation{"OutOfRange", [] { (void)std::vector<int>().at(3); }, 9,
                    "Subscript out of range"},
        Translation{"Overflow", [] { throw std::overflow_error("too big"); }, 6, "Overflow"},
        Translation{"Other", [] { throw std::invalid_argument("no such mode"); }, 51,
                    "no such mode"},
        Translation{"RuntimeError", [] { throw RuntimeError(errnum::kTooManyFiles); }, 67,
                    "Too many files"}),
    [](const ::testing::TestParamInfo<Translation>& info) { return info.param.name; });

TEST_F(TrapTest, AFailingEntryIsHandledAndRetryPushesTheTraceNameAgain) {
  desktop->QueueReportChoice(choice::kRetry);
  std::vector<String> traceInBody;
  test::OnFreshThread([&] {
    test::FillTrace(test::kTraceCapacity);
    test::FailNextAllocation();
    RunTraced(kProbe, NoRegistrations,
              [&](Trap& trap) { trap.Do([&] { traceInBody = ErrorManager().CallStack(); }); });
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
  std::vector<std::string> reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("        Number: 7\r\n"), std::string::npos);
  std::vector<std::string> trace = test::SectionOf(reports[0], "Call Stack:");
  EXPECT_EQ(trace.size(), test::kTraceCapacity);  // the failed push left no entry
  EXPECT_EQ(traceInBody, std::vector<String>{"Module1![Function Probe]"});
}

TEST(TrapNormalPath, AllocatesNothing) {
  test::OnFreshThread([] {
    ErrorManager();
    Long value = 0;
    size_t before = test::AllocationCount();
    RunTraced(
        kProbe, [&](Registrations& r) { r.Variables({{"value", value}}); },
        [&](Trap& trap) {
          trap.Do([&] { value = 1; });
          if (trap.If([&] { return value == 1; })) trap.Do(CallInner);
        });
    EXPECT_EQ(test::AllocationCount(), before);
    EXPECT_EQ(ErrorManager().CallDepth(), 0u);
  });
}

}  // namespace
}  // namespace jotwell
