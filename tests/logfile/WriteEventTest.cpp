#include "LogTestSupport.h"

namespace jotwell {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LogTest, FirstWriteStartsTheFileAndLaterWritesAppend) {
  book->WriteEventToLogFile("Program started");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "",
                                      Matches(EventLine("Program started"))));
  EXPECT_EQ(recorder.successes, 1);
  book->WriteEventToLogFile("Data saved");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("Program started")),
                                      Matches(EventLine("Data saved"))));
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_THAT(recorder.errors, IsEmpty());
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

// A file found before the first write, the limit set (0: none set) and
// whether the write starts the file afresh.
struct Existing {
  const char* name;
  std::string bytes;
  Long limit;
  bool restarts;
};

class ExistingFileTest : public LogTest, public ::testing::WithParamInterface<Existing> {};

TEST_P(ExistingFileTest, IsRestartedOnlyWhenLongerThanTheLimit) {
  WriteFile(logPath, GetParam().bytes);
  if (GetParam().limit != 0) book->MaximumLogFileSize(GetParam().limit);
  book->WriteEventToLogFile("new");
  EXPECT_EQ(book->MaximumLogFileSize(), GetParam().limit ? GetParam().limit : 2'000'000);
  std::string bytes = ReadFile(logPath);
  if (GetParam().restarts) {
    EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("new"))));
  } else {
    ASSERT_TRUE(bytes.starts_with(GetParam().bytes));
    EXPECT_THAT(bytes.substr(GetParam().bytes.size()), Matches(EventLine("new\r\n")));
  }
  EXPECT_EQ(book->SizeOfCurrentLogFile(), static_cast<Long>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ExistingFileTest,
    ::testing::Values(Existing{"AsLongAsTheLimit", "old line\r\n", 10, false},
                      Existing{"OneByteOverTheLimit", "old line\r\n", 9, true},
                      Existing{"Empty", "", 0, false},
                      Existing{"AsLongAsTheDefault", std::string(2'000'000, 'x'), 0, false},
                      Existing{"OneByteOverTheDefault", std::string(2'000'001, 'x'), 0, true}),
    [](const auto& info) { return info.param.name; });

// Only True requests a restart; any request is cleared by a write that succeeds.
class OverwriteTest : public LogTest, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(OverwriteTest, OnlyTrueRestartsTheFileAndOnlyOnce) {
  book->WriteEventToLogFile("before");
  book->OverwriteLogFile(Boolean::FromRaw(GetParam()));
  EXPECT_EQ(book->OverwriteLogFile().Raw(), GetParam());
  book->WriteEventToLogFile("after");
  EXPECT_EQ(book->OverwriteLogFile(), False);
  book->WriteEventToLogFile("again");
  if (GetParam() == True.Raw())
    EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("after")),
                                        Matches(EventLine("again"))));
  else
    EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("before")),
                                        Matches(EventLine("after")), Matches(EventLine("again"))));
}

INSTANTIATE_TEST_SUITE_P(Requests, OverwriteTest,
                         ::testing::Values(True.Raw(), std::int16_t{1}));

TEST_F(LogTest, OverwriteRequestedInsideTheSuccessEventIsClearedAfterwards) {
  recorder.onSuccess = [&] { book->OverwriteLogFile(True); };
  book->WriteEventToLogFile("x");
  EXPECT_EQ(book->OverwriteLogFile(), False);
}

TEST_F(LogTest, WriteFromInsideTheSuccessEventIsAppendedAfterTheFirst) {
  recorder.onSuccess = [&] {
    recorder.onSuccess = nullptr;
    book->WriteEventToLogFile("from the sink");
  };
  book->WriteEventToLogFile("first");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("first")),
                                      Matches(EventLine("from the sink"))));
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, NegativeLimitRestartsEveryWriteAndNeverWarns) {
  book->MaximumLogFileSize(-1);
  book->WriteEventToLogFile("first");
  book->WriteEventToLogFile("second");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("second"))));
  EXPECT_EQ(book->MaximumLogFileSize(), -1);
  EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(LogTest, LineBreakInsideAnEventGoesIntoTheFileUnchanged) {
  book->WriteEventToLogFile("one\r\ntwo");
  EXPECT_TRUE(ReadFile(logPath).ends_with(" - one\r\ntwo\r\n"));
}

// Free space against the limit: two writes and an end, each warning or not.
struct FreeSpace {
  const char* name;
  std::optional<std::uint64_t> bytes;  // unset: the query fails
  Long limit;
  bool warns;
};

class LowSpaceTest : public LogTest, public ::testing::WithParamInterface<FreeSpace> {};

TEST_P(LowSpaceTest, WarnsBeforeEachWriteAndStillWrites) {
  FaultyFiles files;
  files.freeBytes = GetParam().bytes;
  if (!GetParam().bytes) files.volumeError = errnum::kDeviceIO;
  if (GetParam().limit) book->MaximumLogFileSize(GetParam().limit);
  book->WriteEventToLogFile("one");
  book->WriteEventToLogFile("two");
  book->EndLogFileEvents();
  const std::string low = std::string("Warning!\r\nFree drive space is ");
  if (GetParam().warns) {
    EXPECT_THAT(Boxes(), ElementsAre(low + "getting low!\r\n" + kConsult,
                                     low + "getting low!\r\n" + kConsult, low + "low!\r\n" + kConsult));
    EXPECT_EQ(desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)[0].icon,
              MessageIcon::Critical);
  } else {
    EXPECT_THAT(Boxes(), IsEmpty());
  }
  EXPECT_EQ(desktop->Exclamations(), GetParam().warns ? 3 : 0);
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_THAT(LogLines().end()[-2], Matches(EndLine()));
}

INSTANTIATE_TEST_SUITE_P(Figures, LowSpaceTest,
                         ::testing::Values(FreeSpace{"BelowTheLimit", 1999, 2000, true},
                                           FreeSpace{"EqualToTheLimit", 2000, 2000, false},
                                           FreeSpace{"Unreadable", std::nullopt, 0, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(LogTest, EndLeavesAnUnsetLimitAloneAndSoNeverWarns) {
  WriteFile(logPath, "");
  FaultyFiles files;
  files.freeBytes = 0;
  book->EndLogFileEvents();
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(book->MaximumLogFileSize(), 0);
}

// A failing write: the number the platform reports, the first line of the box
// once a sink has changed the number to 99.
struct SinkChange {
  Long failure;
  const char* firstLine;
};

class FileErrorTest : public LogTest, public ::testing::WithParamInterface<SinkChange> {};

TEST_P(FileErrorTest, SinkChangesTheNumberShownOnlyForUnnamedFailures) {
  book->WriteEventToLogFile("kept");
  book->OverwriteLogFile(True);
  FaultyFiles files;
  files.writeError = GetParam().failure;
  recorder.onError = [](Integer& number) { number = 99; };
  recorder.successes = 0;
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("lost"); }),
            Failed(GetParam().failure, GetParam().firstLine));
  EXPECT_EQ(desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)[0].icon,
            MessageIcon::Critical);
  EXPECT_EQ(desktop->Exclamations(), 1);
  EXPECT_EQ(book->OverwriteLogFile(), True);  // still pending for the next write
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FileErrorTest,
    ::testing::Values(SinkChange{57, "Device I/O Error!"}, SinkChange{61, "Disk is Full!"},
                      SinkChange{75, "Path/File Error!"},
                      SinkChange{70, "Run Time Error Number 99 occurred."}),
    [](const auto& info) { return "Error" + std::to_string(info.param.failure); });

}  // namespace
}  // namespace jotwell
