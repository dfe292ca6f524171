// The event log over a real file: writes, restarts, ends and deletes.
#include "LogTestSupport.h"

namespace jotwell {
namespace {

using namespace test;

// How the log is reached, and what other writers do to it meanwhile:
// between the existence test and the lock (while free space is asked).
// Rotated: renamed aside, as a log is rotated by hand.
enum Around { Alone, ThroughALink, Deleted, Rotated, Replaced, Written };

// The file found before the first write (its bytes, grown sparse to
// `length` if set), the limit (0: the default), the overwrite request and
// whether the write starts the file afresh. A missing file is started by
// the first write of WritesEndAndDeleteInTurn.
struct Existing {
  const char* name;
  std::string bytes;
  Long limit;
  Boolean overwrite;
  bool restarts;
  std::uintmax_t length = 0;
  Around around = Alone;
};
class ExistingFileTest : public LogTest, public ::testing::WithParamInterface<Existing> {};

TEST_P(ExistingFileTest, IsRestartedWhenLongerThanTheLimitOrOnATrueRequest) {
  const Existing& file = GetParam();
  const std::string target = file.around == ThroughALink ? dir.File("target.log") : logPath;
  WriteFile(target, file.bytes);
  if (std::error_code refused;
      target != logPath && (std::filesystem::create_symlink(target, logPath, refused), refused))
    GTEST_SKIP() << "no symbolic links here: " << refused.message();
  if (file.length) std::filesystem::resize_file(logPath, file.length);  // no real disk use
  FaultyFiles files;
  files.meanwhile = [&] {
    if (file.around == Deleted || file.around == Replaced) std::filesystem::remove(logPath);
    if (file.around == Rotated) std::filesystem::rename(logPath, logPath + ".1");
    if (file.around < Replaced) return;
    JotBook other;  // another object of this thread, which locks the log meanwhile
    other.LogFileName(logPath), other.WriteEventToLogFile("other");
  };
  book->MaximumLogFileSize(file.limit), book->OverwriteLogFile(file.overwrite);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("new"); }), Succeeded(1));
  EXPECT_EQ(book->OverwriteLogFile(), False);  // any request is cleared by a write
  EXPECT_EQ(book->SizeOfCurrentLogFile(), static_cast<Long>(std::filesystem::file_size(logPath)));
  Lines lines = file.restarts ? Lines{"started", ""} : Lines{};
  if (file.around >= Replaced) lines.push_back("- other");
  lines.push_back("- new");
  EXPECT_EQ(Shape(After(logPath, file.restarts ? "" : file.bytes)), lines);
  EXPECT_EQ(std::filesystem::is_symlink(logPath), file.around == ThroughALink);
  if (file.around == Rotated) {
    EXPECT_EQ(ReadFile(logPath + ".1"), file.bytes);
  }
}

const std::string kOld = "old line\r\n";
INSTANTIATE_TEST_SUITE_P(
    Files, ExistingFileTest,
    ::testing::Values(Existing{"Empty", "", 0, False, false},
                      Existing{"AsLongAsTheLimit", kOld, 10, False, false},
                      Existing{"OneByteOverTheLimit", kOld, 9, False, true},
                      Existing{"NegativeLimit", "", -1, False, true},  // restarts every time
                      Existing{"TooLongForALong", kOld, INT32_MAX, False, true, 3ull << 30},
                      Existing{"OverwriteTrue", kOld, 0, True, true},
                      Existing{"OverwriteOne", kOld, 0, Boolean::FromRaw(1), false},
                      Existing{"OverwriteThroughALink", kOld, 0, True, true, 0, ThroughALink},
                      Existing{"DeletedMeanwhile", kOld, 0, False, true, 0, Deleted},
                      Existing{"RotatedMeanwhile", kOld, 0, False, true, 0, Rotated},
                      Existing{"ReplacedMeanwhile", kOld, 0, False, true, 0, Replaced},
                      Existing{"WrittenMeanwhile", kOld, 0, False, false, 0, Written}),
    [](const auto& info) { return info.param.name; });

// Free space below the limit, or unreadable (counted as 0), is warned of
// before each write and the end, which still happen.
TEST_F(LogTest, LowSpaceIsWarnedOfAndTheLogStillWritten) {
  FaultyFiles files;
  files.freeBytes = 2000;
  book->MaximumLogFileSize(2000);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("enough room"); }), Succeeded(1));
  // A write and an end, each warned of, with the successes so far to follow.
  const std::string low = "Warning!\r\nFree drive space is ", then = std::string("\r\n") + kConsult;
  const std::string warned = "events | stop " + low + "getting low!" + then + " | stop " + low + "low!" + then +
                             " | exclamations 2, left open 0, depth 0, successes ";
  files.freeBytes = 1999;
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("one"); book->EndLogFileEvents(); }), warned + "2");
  files.volumeError = errnum::kDeviceIO;
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("two"); book->EndLogFileEvents(); }), warned + "3");
  EXPECT_THAT(LogLines(), ElementsAre("started", "", "- enough room", "- one", "", "ended", "", "- two", "", "ended", ""));
}

// A restart whose write fails half way: the number reported, and the box's
// first line once a sink has changed the number to 99.
TEST_F(LogTest, SinkChangesTheNumberShownOnlyForOtherFailures) {
  book->WriteEventToLogFile("kept");
  recorder.successes = 0;
  recorder.onError = [](Integer& number) { number = 99; };
  FaultyFiles files;
  for (auto [number, firstLine] : std::vector<std::pair<Long, std::string>>{{57, "Device I/O Error!"},
           {61, "Disk is Full!"}, {75, "Path/File Error!"}, {70, "Run Time Error Number 99 occurred."}}) {
    book->OverwriteLogFile(True);
    files.writeError = number;
    EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("lost"); }), Failed(number, firstLine));
    EXPECT_EQ(book->OverwriteLogFile(), True);  // still pending
    EXPECT_EQ(ReadFile(logPath), "");           // restarted, then the torn start cut off
  }
}

// The success handler may write too, and ask for an overwrite, which is
// cleared once the outer write returns. Its event holds a CR LF, which goes
// into the file unchanged.
TEST_F(LogTest, WritesEndAndDeleteInTurn) {
  recorder.onSuccess = [&] {
    recorder.onSuccess = nullptr;
    book->WriteEventToLogFile("from\r\nthe sink"), book->OverwriteLogFile(True);
  };
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("one"); }), Succeeded(2));
  EXPECT_EQ(book->OverwriteLogFile(), False);
  EXPECT_EQ(Outcome([&] { book->EndLogFileEvents(), book->WriteEventToLogFile("two"); }),
            Succeeded(3));
  EXPECT_THAT(LogLines(),
              ElementsAre("started", "", "- one", "- from", "the sink", "", "ended", "", "- two"));
  EXPECT_EQ(book->DoesLogFileExist(), True);
  EXPECT_EQ(Outcome([&] { book->DeleteLogFile(), book->WriteEventToLogFile("three"); }),
            Succeeded(4));
  EXPECT_THAT(LogLines(), ElementsAre("started", "", "- three"));  // the old log gone
}

// A missing file; a name the system would cut at its NUL, which must leave
// the file named by the part before it alone; a log that was never named.
TEST_F(LogTest, WithoutAFileEndAndDeleteOnlyShowBoxes) {
  auto endAndDelete = [&] {
    EXPECT_EQ(Outcome([&] { book->EndLogFileEvents(); }), NotFound());
    EXPECT_EQ(book->DoesLogFileExist(), False);
    EXPECT_EQ(
        Outcome([&] { book->DeleteLogFile(); }),
        Shows("", "Unable to delete file " + book->LogFileName() + " or file not found!", false));
  };
  endAndDelete();
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 0);
  book->LogFileName(logPath + std::string("\0.old", 5));
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }), Failed(75, "Path/File Error!"));
  EXPECT_FALSE(std::filesystem::exists(logPath));
  WriteFile(logPath, "kept\r\n");
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }), Failed(75, "Path/File Error!"));
  endAndDelete();
  EXPECT_EQ(ReadFile(logPath), "kept\r\n");
  book = std::make_unique<JotBook>(), book->Advise(recorder);
  EXPECT_EQ(book->DoesLogFileExist(), False);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }), Failed(75, "Path/File Error!"));
  EXPECT_EQ(Outcome([&] { book->DeleteLogFile(); }),
            Shows("", "Device I/O Error!\r\nCan't delete logfile, no logfile name specified!\r\n" +
                          std::string(kConsult)));
}

}  // namespace
}  // namespace jotwell
