#include "LogTestSupport.h"
#include "errors/frmErrMn.h"

namespace jotwell {
namespace {

using test::EventLinePattern;
using test::FaultyFiles;
using test::kConsult;
using test::LineMatches;
using test::LogTest;
using test::ReadFile;
using test::StartLinePattern;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;



TEST_F(LogTest, FirstWriteStartsTheFileWithStartLineEmptyLineAndEvent) {
  book->WriteEventToLogFile("Program started");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("Program started"))));
  EXPECT_EQ(recorder.successes, 1);
  EXPECT_THAT(recorder.errors, IsEmpty());
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, SecondWriteAppendsOneEventLine) {
  book->WriteEventToLogFile("Program started");
  book->WriteEventToLogFile("Data saved");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("Program started")),
                                      LineMatches(EventLinePattern("Data saved"))));
  EXPECT_EQ(recorder.successes, 2);
}

TEST_F(LogTest, UnsetLimitBecomesTheDefaultAtTheNextWrite) {
  EXPECT_EQ(book->MaximumLogFileSize(), 0);
  book->WriteEventToLogFile("x");
  EXPECT_EQ(book->MaximumLogFileSize(), 2'000'000);
}

TEST_F(LogTest, FileAsLongAsTheLimitIsAppendedTo) {
  const std::string old = "old line\r\n";
  WriteFile(logPath, old);
  book->MaximumLogFileSize(static_cast<Long>(old.size()));
  book->WriteEventToLogFile("new");
  EXPECT_THAT(LogLines(), ElementsAre("old line", LineMatches(EventLinePattern("new"))));
  EXPECT_EQ(book->SizeOfCurrentLogFile(), static_cast<Long>(ReadFile(logPath).size()));
}

TEST_F(LogTest, FileOneByteOverTheLimitIsRestarted) {
  const std::string old = "old line\r\n";
  WriteFile(logPath, old);
  book->MaximumLogFileSize(static_cast<Long>(old.size()) - 1);
  book->WriteEventToLogFile("new");
  EXPECT_THAT(LogLines(),
              ElementsAre(LineMatches(StartLinePattern()), "", LineMatches(EventLinePattern("new"))));
}

TEST_F(LogTest, ExistingEmptyFileIsAppendedTo) {
  WriteFile(logPath, "");
  book->WriteEventToLogFile("first");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(EventLinePattern("first"))));
}

TEST_F(LogTest, OverwriteTrueRestartsTheFileOnceAndIsCleared) {
  book->WriteEventToLogFile("before");
  book->OverwriteLogFile(True);
  book->WriteEventToLogFile("restarted");
  EXPECT_EQ(book->OverwriteLogFile(), False);
  book->WriteEventToLogFile("appended");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("restarted")),
                                      LineMatches(EventLinePattern("appended"))));
}

TEST_F(LogTest, OverwriteOtherThanTrueIsNoRequestButIsClearedAfterTheWrite) {
  book->WriteEventToLogFile("before");
  book->OverwriteLogFile(Boolean::FromRaw(1));
  EXPECT_EQ(book->OverwriteLogFile().Raw(), 1);
  book->WriteEventToLogFile("after");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("before")),
                                      LineMatches(EventLinePattern("after"))));
  EXPECT_EQ(book->OverwriteLogFile(), False);
}

TEST_F(LogTest, OverwriteRequestedInsideTheSuccessEventIsClearedAfterwards) {
  recorder.onSuccess = [&] { book->OverwriteLogFile(True); };
  book->WriteEventToLogFile("x");
  EXPECT_EQ(book->OverwriteLogFile(), False);
}

TEST_F(LogTest, NegativeLimitRestartsEveryWriteAndNeverWarns) {
  book->MaximumLogFileSize(-1);
  book->WriteEventToLogFile("first");
  book->WriteEventToLogFile("second");
  EXPECT_THAT(LogLines(),
              ElementsAre(LineMatches(StartLinePattern()), "", LineMatches(EventLinePattern("second"))));
  EXPECT_EQ(book->MaximumLogFileSize(), -1);
  EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(LogTest, FreeSpaceBelowTheLimitWarnsBeforeEveryWriteAndStillWrites) {
  FaultyFiles files;
  files.freeBytes = 1999;
  book->MaximumLogFileSize(2000);
  book->WriteEventToLogFile("one");
  book->WriteEventToLogFile("two");
  const std::string warning = std::string("Warning!\r\nFree drive space is getting low!\r\n") + kConsult;
  EXPECT_THAT(Boxes(), ElementsAre(warning, warning));
  EXPECT_EQ(Exclamations(), 2);
  EXPECT_EQ(desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)[0].icon,
            MessageIcon::Critical);
  EXPECT_EQ(recorder.successes, 2);
}

TEST_F(LogTest, FreeSpaceEqualToTheLimitDoesNotWarn) {
  FaultyFiles files;
  files.freeBytes = 2000;
  book->MaximumLogFileSize(2000);
  book->WriteEventToLogFile("one");
  EXPECT_THAT(Boxes(), IsEmpty());
}

TEST_F(LogTest, UnreadableFreeSpaceCountsAsNoneAndWarns) {
  FaultyFiles files;
  files.volumeError = errnum::kDeviceIO;
  book->WriteEventToLogFile("one");
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(recorder.successes, 1);
}

TEST_F(LogTest, LineBreakInsideAnEventGoesIntoTheFileUnchanged) {
  book->WriteEventToLogFile("one\r\ntwo");
  EXPECT_TRUE(ReadFile(logPath).ends_with(" - one\r\ntwo\r\n"));
}

TEST_F(LogTest, WriteFromInsideTheSuccessEventIsAppendedAfterTheFirst) {
  recorder.onSuccess = [&] {
    recorder.onSuccess = nullptr;
    book->WriteEventToLogFile("from the sink");
  };
  book->WriteEventToLogFile("first");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("first")),
                                      LineMatches(EventLinePattern("from the sink"))));
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

// A failing write: the number the platform reports, the number a sink
// changes it to, and the first line of the box that follows.
struct SinkChange {
  Long failure;
  const char* firstLine;
  friend void PrintTo(const SinkChange& change, std::ostream* out) { *out << change.failure; }
};

class FileErrorTest : public LogTest, public ::testing::WithParamInterface<SinkChange> {};

TEST_P(FileErrorTest, SinkChangesTheNumberShownOnlyForUnnamedFailures) {
  FaultyFiles files;
  files.writeError = GetParam().failure;
  recorder.onError = [](Integer& number) { number = 99; };
  book->WriteEventToLogFile("lost");
  EXPECT_THAT(recorder.errors, ElementsAre(GetParam().failure));
  EXPECT_THAT(Boxes(), ElementsAre(std::string(GetParam().firstLine) + "\r\nUnable to open " +
                                   logPath + " on the local drive.\r\n" + kConsult));
  EXPECT_EQ(desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox)[0].icon,
            MessageIcon::Critical);
  EXPECT_EQ(Exclamations(), 1);
  EXPECT_EQ(recorder.successes, 0);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FileErrorTest,
    ::testing::Values(SinkChange{57, "Device I/O Error!"}, SinkChange{61, "Disk is Full!"},
                      SinkChange{75, "Path/File Error!"},
                      SinkChange{70, "Run Time Error Number 99 occurred."}),
    [](const auto& info) { return "Error" + std::to_string(info.param.failure); });

TEST_F(LogTest, FailedWriteKeepsTheOverwriteRequestPending) {
  book->WriteEventToLogFile("kept");
  book->OverwriteLogFile(True);
  {
    FaultyFiles files;
    files.writeError = errnum::kDiskFull;
    book->WriteEventToLogFile("lost");
  }
  EXPECT_EQ(book->OverwriteLogFile(), True);
  book->WriteEventToLogFile("restarted");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("restarted"))));
}

TEST_F(LogTest, NeverNamedLogIsAPathError) {
  JotBook unnamed;
  unnamed.Advise(recorder);
  unnamed.WriteEventToLogFile("x");
  EXPECT_THAT(recorder.errors, ElementsAre(75));
  EXPECT_THAT(Boxes(), ElementsAre(std::string("Path/File Error!\r\nUnable to open  on the local "
                                               "drive.\r\n") + kConsult));
}

}  // namespace
}  // namespace jotwell
