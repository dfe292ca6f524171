// Several writers on one log file: processes, and threads of one process.
#include <set>
#include <thread>

#include "LogTestSupport.h"

namespace jotwell {
namespace {

using test::EventLinePattern;
using test::EventRecorder;
using test::LogTest;
using test::StartLinePattern;

constexpr int kWriters = 4;

// Writes `events` events tagged with `writer` through a JotBook of its own;
// true when every write succeeded without a box.
bool WriteEvents(const std::string& logPath, int writer, int events, Long limit,
                 const testing::ScriptedDesktop& desktop) {
  size_t boxesBefore = desktop.Shown(testing::ScriptedDesktop::Kind::MessageBox).size();
  JotBook book;
  EventRecorder recorder;
  book.Advise(recorder);
  book.LogFileName(logPath);
  book.MaximumLogFileSize(limit);
  for (int event = 0; event < events; ++event)
    book.WriteEventToLogFile("w" + std::to_string(writer) + " e" + std::to_string(event));
  return recorder.successes == events && recorder.errors.empty() &&
         desktop.Shown(testing::ScriptedDesktop::Kind::MessageBox).size() == boxesBefore;
}

class ConcurrencyTest : public LogTest {
 protected:
  // Runs the writers as processes and returns how many failed.
  int InProcesses(int events, Long limit) {
    std::vector<int> children;
    for (int writer = 0; writer < kWriters; ++writer)
      children.push_back(test::StartChild(
          [&, writer] { return WriteEvents(logPath, writer, events, limit, *desktop) ? 0 : 1; }));
    int failed = 0;
    for (int child : children) failed += test::WaitForChild(child) != 0;
    return failed;
  }

  // Checks that the file is one run of whole lines, a start line and an
  // empty line followed by event lines, and returns the events' texts.
  std::multiset<std::string> EventsInFile() {
    std::vector<std::string> lines = LogLines();
    std::multiset<std::string> events;
    EXPECT_GE(lines.size(), 3u);
    if (lines.size() < 3) return events;
    EXPECT_TRUE(std::regex_match(lines[0], StartLinePattern())) << lines[0];
    EXPECT_EQ(lines[1], "");
    std::regex event = EventLinePattern("(w\\d e\\d+)");
    for (size_t i = 2; i < lines.size(); ++i) {
      std::smatch parts;
      if (std::regex_match(lines[i], parts, event))
        events.insert(parts[1]);
      else
        ADD_FAILURE() << "torn line " << i << ": " << lines[i];
    }
    return events;
  }

  static std::multiset<std::string> AllEvents(int events) {
    std::multiset<std::string> all;
    for (int writer = 0; writer < kWriters; ++writer)
      for (int event = 0; event < events; ++event)
        all.insert("w" + std::to_string(writer) + " e" + std::to_string(event));
    return all;
  }
};

TEST_F(ConcurrencyTest, ProcessesLoseNoEventAndTearNoLine) {
  constexpr int kEvents = 2000;
  EXPECT_EQ(InProcesses(kEvents, 0), 0);
  EXPECT_EQ(EventsInFile(), AllEvents(kEvents));
}

TEST_F(ConcurrencyTest, ProcessesRestartingASmallLogTearNoLine) {
  constexpr int kEvents = 2000;
  EXPECT_EQ(InProcesses(kEvents, 4096), 0);
  std::multiset<std::string> events = EventsInFile();
  EXPECT_FALSE(events.empty());
  EXPECT_LE(test::ReadFile(logPath).size(), 4096u + 100u);
}

TEST_F(ConcurrencyTest, ThreadsWithAJotBookEachLoseNoEvent) {
  constexpr int kEvents = 300;
  std::vector<std::thread> threads;
  std::atomic<int> failed = 0;
  for (int writer = 0; writer < kWriters; ++writer)
    threads.emplace_back([&, writer] {
      if (!WriteEvents(logPath, writer, kEvents, 0, *desktop)) ++failed;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(EventsInFile(), AllEvents(kEvents));
}

}  // namespace
}  // namespace jotwell
