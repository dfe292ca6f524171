// The error trap: Retry, Ignore and Abort per statement, the trace on every
// exit, local error blocks, and errors raised while a handler runs.

#include <new>
#include <stdexcept>
#include <tuple>

#include "support/ReportSupport.h"

namespace jotwell {
namespace {

using namespace test;

constexpr Procedure kInner = "Module1![Sub Inner]";

void Throw76() { throw RuntimeError(errnum::kPathNotFound); }
void FailOnce(Trap& trap) { trap.Do(FailingOnce(errnum::kPathNotFound)); }
void ReturnEarly(Trap& trap) {
  if (trap.If([] { return true; })) return;
}
void CallInner() { RunTraced(kInner, NoRegistrations, ReturnEarly); }

class TrapTest : public IsolatedReportsTest {
 protected:
  // Runs `body` as the traced Function Probe on a fresh thread; the report
  // windows answer `answers` in turn, then Abort.
  void Probe(std::initializer_list<Long> answers, const std::function<void(Trap&)>& body,
             const std::function<void(Registrations&)>& registrations = NoRegistrations) {
    for (Long answer : answers) desktop->QueueReportChoice(answer);
    OnFreshThread([&] { RunTraced(kProbe, registrations, body); });
  }
};

// Retry runs the statement again, each report showing the values of its
// moment; Ignore skips a statement, or enters a branch whose test failed; a
// function left by Abort returns what it had assigned, else the empty value.
TEST_F(TrapTest, RetryRepeatsIgnoreSkipsOrEntersTheBranchAbortLeavesWithWhatWasAssigned) {
  String Path = "/nowhere", result, unassigned;
  Long n = 0, value = 1;
  Probe({choice::kRetry, choice::kRetry, choice::kIgnore, choice::kIgnore, choice::kIgnore}, [&](Trap& trap) {
    trap.Do([&] { ++n, Throw76(); });
    trap.Do([&] { value = []() -> Long { throw RuntimeError(errnum::kOverflow); }(); });
    if (trap.If([]() -> bool { throw RuntimeError(errnum::kSubscriptOutOfRange); })) trap.Do([&] { result = "entered"; });
    trap.Do(Throw76);  // an empty queue answers Abort
    trap.Do([&] { result = unassigned = "late"; });
  }, [&](Registrations& r) { r.Arguments({{"Path", Path}}), r.Variables({{"n", n}}); });
  EXPECT_EQ(value, 1);
  EXPECT_EQ(result + "|" + unassigned, "entered|");
  const Lines reports = Reports();
  ASSERT_EQ(reports.size(), 6u);
  for (size_t i = 0; i < 3; ++i) {  // the first report emptied the trace; retries push nothing new
    EXPECT_EQ(SectionOf(reports[i], "Arguments:"), Lines{"Path = /nowhere"});
    EXPECT_EQ(SectionOf(reports[i], "Variables:"), Lines{"n = " + std::to_string(i + 1)});
    EXPECT_EQ(SectionOf(reports[i], "Call Stack:"), i == 0 ? Lines{">Module1![Function Probe]"} : Lines{});
  }
}

// Every exit leaves the trace as deep as it was found. A report empties it,
// so the procedure's own pop then finds nothing, and a call made since
// pushes and pops its own entry. A failing entry is handled like any other
// error, and Retry pushes the name again (the report shows the trace
// without the entry that failed).
TEST_F(TrapTest, EveryExitLeavesTheTraceAsDeepAsItWasFound) {
  struct Path {
    const char* name;
    Long answer;
    std::function<void(Trap&)> body;
    bool failEntry = false;
  };
  std::vector<std::string_view> seen;  // the trace the body saw, run again after its entry failed
  auto recordTrace = [&](Trap& trap) {
    trap.Do([&] { std::ranges::copy(ErrorManager().CallStack(), std::back_inserter(seen)); });
  };
  Path paths[] = {
      // the answer to the report, 0 for none
      {"end of body", 0, [](Trap& trap) { trap.Do([] {}); }},
      {"early return", 0, ReturnEarly},
      {"nested call", 0, [](Trap& trap) { trap.Do(CallInner); }},
      {"local block", 0, [](Trap& trap) { trap.WithLocalBlock([] {}, [](auto&) {}); }},
      {"local block with error", 0, [](Trap& trap) { trap.WithLocalBlock(Throw76, [](auto&) {}); }},
      {"retry", choice::kRetry, FailOnce},
      {"ignore", choice::kIgnore, FailOnce},
      {"abort", choice::kAbort, FailOnce},
      {"ignore below callers", choice::kIgnore,
       [](Trap& trap) { FailOnce(trap), trap.Do(CallInner); }},
      {"failing entry, retry", choice::kRetry, recordTrace, true}};
  for (const Path& path : paths) {
    SCOPED_TRACE(path.name);
    if (path.answer) desktop->QueueReportChoice(path.answer);
    OnFreshThread([&] {
      ErrorManager().AddCall({"Host![Sub Outer]"}), ErrorManager().AddCall({"Host![Sub Caller]"});
      if (path.failEntry) FailNextTraceEntry();
      RunTraced(kProbe, NoRegistrations, path.body);
      EXPECT_EQ(ErrorManager().CallDepth(), path.answer ? 0u : 2u);
    });
  }
  EXPECT_THAT(seen, ElementsAre(kProbe.Trace()));
  ASSERT_THAT(Reports().back(), HasSubstr("        Number: 7\r\n"));
  EXPECT_EQ(SectionOf(Reports().back(), "Call Stack:").size(), frmErrMn::kInitialTraceCapacity);
}

// An error raised while handling one, in the registrations or a local
// block, reaches the caller, which reports it under its own name.
TEST_F(TrapTest, AnErrorInAHandlerReachesTheCallerWhichReportsItUnderItsOwnName) {
  auto fail = [](auto&&...) -> void { throw RuntimeError(13); };
  auto inRegistrations = [&] { RunTraced(kInner, fail, [](Trap& trap) { trap.Do(Throw76); }); };
  auto inLocalBlock = [&] {
    RunTraced(kInner, NoRegistrations, [&](Trap& trap) { trap.WithLocalBlock(Throw76, fail); });
  };
  OnFreshThread([&] {
    EXPECT_THAT(inRegistrations, FailsWith(13));
    EXPECT_THAT(inLocalBlock, FailsWith(13));
  });
  EXPECT_TRUE(Reports().empty());
  int after = 0;
  Probe({choice::kIgnore},
        [&](Trap& trap) { trap.Do(inRegistrations), trap.Do([&] { ++after; }); });
  EXPECT_EQ(after, 1);
  ASSERT_THAT(Reports(), ElementsAre(IsReport(13, "Module1", "Function Probe")));
  EXPECT_EQ(SectionOf(Reports()[0], "Call Stack:"),
            (Lines{">Module1![Function Probe]", ">Module1![Sub Inner]"}));
}

// Each error becomes the current error, with the platform's own code: in
// a report before the switch to the local block, and in the block, without
// a report, after it.
TEST_F(TrapTest, ErrorsReachTheReportBeforeTheSwitchAndTheLocalBlockAfterIt) {
  using Error = std::tuple<Long, std::string, Long>;  // number, description, platform code
  std::pair<void (*)(), Error> cases[] = {
      {[] { throw RuntimeError(errnum::kDiskFull, 28); }, {61, "Disk full", 28}},
      {[] { throw std::bad_alloc(); }, {7, "Out of memory", 0}},
      {[] { (void)std::vector<int>().at(3); }, {9, "Subscript out of range", 0}},
      {[] { throw std::overflow_error("too big"); }, {6, "Overflow", 0}},
      {[] { throw std::invalid_argument("no such mode"); }, {51, "no such mode", 0}}};
  for (const auto& [raise, error] : cases) {
    Error inBlock;
    Probe({choice::kIgnore}, [&, raise = raise](Trap& trap) {
      trap.Do(raise);
      trap.WithLocalBlock(raise, [&](const RuntimeError& e) {
        inBlock = {e.Number(), e.Description(), CurrentError().LastDllError};
      });
    });
    const auto& [number, description, platformCode] = error;
    EXPECT_THAT(Reports().back(), HasSubstr("Number: " + std::to_string(number) + "\r\n        Description: " + description +
                                            "\r\n        Source: Jotwell\r\n        LastDllError: " + std::to_string(platformCode)));
    EXPECT_EQ(inBlock, error);
  }
  EXPECT_EQ(Reports().size(), 5u);
}

// A traced call made while its thread ends, after the thread's own error
// manager is gone (from another thread-local's destructor), still runs.
TEST(TrapAtThreadEnd, ATracedCallStillRuns) {
#ifdef _WIN32
  GTEST_SKIP() << "this compiler frees a thread's storage before its thread_local destructors run";
#endif
  struct Traced { int& ran; ~Traced() { RunTraced(kProbe, NoRegistrations, [&](Trap& t) { t.Do([&] { ++ran; }); }); } };
  int ran = 0;
  OnFreshThread([&] { thread_local Traced last{ran}; ErrorManager(); });  // made before the manager, gone after it
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace jotwell
