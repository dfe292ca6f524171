// Several writers, each with a JotBook of its own, on one log file.
#include <future>
#include <set>

#include "LogTestSupport.h"
#ifndef _WIN32
#include "support/Children.h"
#endif

namespace jotwell {
namespace {

using namespace test;

constexpr int kWriters = 4;

struct Writers {
  const char* name;
  bool processes;  // else threads of this process
  int events;      // each
  Long limit;      // a small one restarts the log, losing events
  int rounds = 1;  // each on a missing log
};

class ConcurrencyTest : public LogTest, public ::testing::WithParamInterface<Writers> {
 protected:
  static std::string Event(int w, int e) { return "w" + std::to_string(w) + " e" + std::to_string(e); }
  // Writes the events of `writer`; says what went wrong, if anything.
  std::string Write(int writer) {
    JotBook own;
    EventRecorder events;
    own.Advise(events), own.LogFileName(logPath), own.MaximumLogFileSize(GetParam().limit);
    for (int event = 0; event < GetParam().events; ++event) own.WriteEventToLogFile(Event(writer, event));
    return events.successes == GetParam().events ? "" : Event(writer, events.successes) + " failed";
  }
  // Runs all writers at once; what each said.
  std::vector<std::string> WriteAtOnce() {
    std::vector<std::function<std::string()>> writers;
    for (int writer = 0; writer < kWriters; ++writer) writers.push_back([=, this] { return Write(writer); });
#ifndef _WIN32
    if (GetParam().processes) return InChildren(writers);
#endif
    std::vector<std::future<std::string>> threads;
    for (const auto& writer : writers) threads.push_back(std::async(std::launch::async, writer));
    std::vector<std::string> said;
    for (auto& thread : threads) said.push_back(thread.get());
    return said;
  }
};

TEST_P(ConcurrencyTest, LinesAreNeverTornAndOnlyRestartsLoseEvents) {
#ifdef _WIN32
  if (GetParam().processes) GTEST_SKIP() << "on Windows the writer processes are win32_tests' own";
#endif
  for (int round = 0; round < GetParam().rounds && !HasFailure(); ++round) {
    std::filesystem::remove(logPath);
    EXPECT_THAT(WriteAtOnce(), ::testing::Each(""));
    EXPECT_THAT(Shown(), IsEmpty());
    Lines lines = LogLines();
    ASSERT_GE(lines.size(), 3u);  // whoever creates the log writes its start line
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), (Lines{"started", ""}));
    std::multiset<std::string> events(lines.begin() + 2, lines.end()), all;
    for (int i = 0; i < kWriters * GetParam().events; ++i) all.insert("- " + Event(i % kWriters, i / kWriters));
    for (const std::string& event : events) EXPECT_TRUE(all.contains(event)) << event;  // whole
    if (GetParam().limit) EXPECT_LE(ReadFile(logPath).size(), static_cast<size_t>(GetParam().limit) + 100);
    else EXPECT_EQ(events, all);
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, ConcurrencyTest,
                         ::testing::Values(Writers{"Processes", true, 2000, 0}, Writers{"ProcessesOnASmallLog", true, 2000, 4096},
                                           Writers{"Threads", false, 300, 0}, Writers{"ProcessesRacingToAMissingLog", true, 1, 0, 200}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace jotwell
