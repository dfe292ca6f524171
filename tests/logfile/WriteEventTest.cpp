#include "LogTestSupport.h"

namespace jotwell {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LogTest, FirstWriteStartsTheFile) {
  book->WriteEventToLogFile("Program started");
  EXPECT_THAT(LogLines(),
              ElementsAre(Matches(StartLine()), "", Matches(EventLine("Program started"))));
  EXPECT_EQ(recorder.successes, 1);
  EXPECT_THAT(recorder.errors, IsEmpty());
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

// A file found before the first write, the limit set (0: none, so the
// default), the overwrite request and whether the write starts the file afresh.
struct Existing {
  const char* name;
  std::string bytes;
  Long limit;
  Boolean overwrite;
  bool restarts;
  friend void PrintTo(const Existing& file, std::ostream* out) { *out << file.name; }
};
class ExistingFileTest : public LogTest, public ::testing::WithParamInterface<Existing> {};

TEST_P(ExistingFileTest, IsRestartedWhenLongerThanTheLimitOrOnATrueRequest) {
  const Existing& file = GetParam();
  WriteFile(logPath, file.bytes);
  if (file.limit != 0) book->MaximumLogFileSize(file.limit);
  book->OverwriteLogFile(file.overwrite);
  EXPECT_EQ(book->OverwriteLogFile().Raw(), file.overwrite.Raw());  // stored as passed
  book->WriteEventToLogFile("new");
  EXPECT_EQ(book->OverwriteLogFile(), False);  // any request is cleared by a write
  EXPECT_EQ(book->MaximumLogFileSize(), file.limit ? file.limit : 2'000'000);
  EXPECT_THAT(Boxes(), IsEmpty());
  std::string bytes = ReadFile(logPath);
  EXPECT_EQ(book->SizeOfCurrentLogFile(), static_cast<Long>(bytes.size()));
  if (file.restarts)
    EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("new"))));
  else
    EXPECT_TRUE(bytes.starts_with(file.bytes) &&
                std::regex_match(bytes.substr(file.bytes.size()), EventLine("new\r\n")))
        << bytes.substr(bytes.size() - std::min<size_t>(bytes.size(), 80));
}

const std::string kOld = "old line\r\n";
INSTANTIATE_TEST_SUITE_P(
    Files, ExistingFileTest,
    ::testing::Values(Existing{"AsLongAsTheLimit", kOld, 10, False, false},
                      Existing{"OneByteOverTheLimit", kOld, 9, False, true},
                      Existing{"Empty", "", 0, False, false},
                      Existing{"NegativeLimit", "", -1, False, true},  // restarts every time
                      Existing{"AsLongAsTheDefault", std::string(2'000'000, 'x'), 0, False, false},
                      Existing{"OneByteOverTheDefault", std::string(2'000'001, 'x'), 0, False,
                               true},
                      Existing{"OverwriteTrue", kOld, 0, True, true},
                      Existing{"OverwriteOne", kOld, 0, Boolean::FromRaw(1), false}),
    [](const auto& info) { return info.param.name; });

TEST_F(LogTest, AFileTooLongForALongIsRestarted) {
  WriteFile(logPath, "old line\r\n");
  std::filesystem::resize_file(logPath, 3ull << 30);  // sparse: no real disk use
  book->MaximumLogFileSize(INT32_MAX);
  book->WriteEventToLogFile("new");
  EXPECT_THAT(recorder.errors, IsEmpty());
  ASSERT_LT(std::filesystem::file_size(logPath), 1000u);
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("new"))));
}

TEST_F(LogTest, SuccessHandlerMayWriteAndRequestAnOverwrite) {
  recorder.onSuccess = [&] {
    recorder.onSuccess = nullptr;
    book->WriteEventToLogFile("from the sink");
    book->OverwriteLogFile(True);  // cleared once the outer write returns
  };
  book->WriteEventToLogFile("first");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("first")),
                                      Matches(EventLine("from the sink"))));
  EXPECT_EQ(book->OverwriteLogFile(), False);
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, LineBreakInsideAnEventGoesIntoTheFileUnchanged) {
  book->WriteEventToLogFile("one\r\ntwo");
  EXPECT_TRUE(ReadFile(logPath).ends_with(" - one\r\ntwo\r\n"));
}

// Free space (unset: the query fails) against the limit (0: the default).
struct FreeSpace {
  const char* name;
  std::optional<std::uint64_t> bytes;
  Long limit;
  bool warns;
  friend void PrintTo(const FreeSpace& space, std::ostream* out) { *out << space.name; }
};
class LowSpaceTest : public LogTest, public ::testing::WithParamInterface<FreeSpace> {};

TEST_P(LowSpaceTest, WarnsBeforeEachWriteAndTheEndAndStillWrites) {
  FaultyFiles files;
  files.freeBytes = GetParam().bytes;
  if (!GetParam().bytes) files.volumeError = errnum::kDeviceIO;
  if (GetParam().limit) book->MaximumLogFileSize(GetParam().limit);
  book->WriteEventToLogFile("one");
  book->WriteEventToLogFile("two");
  book->EndLogFileEvents();
  const std::string low = "Warning!\r\nFree drive space is ", then = std::string("\r\n") + kConsult;
  if (GetParam().warns)
    EXPECT_THAT(Boxes(), ElementsAre(low + "getting low!" + then, low + "getting low!" + then,
                                     low + "low!" + then));
  else
    EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(Exclamations(), GetParam().warns ? 3 : 0);
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_THAT(LogLines().end()[-2], Matches(EndLine()));
}

INSTANTIATE_TEST_SUITE_P(Figures, LowSpaceTest,
                         ::testing::Values(FreeSpace{"BelowTheLimit", 1999, 2000, true},
                                           FreeSpace{"EqualToTheLimit", 2000, 2000, false},
                                           FreeSpace{"Unreadable", std::nullopt, 0, true}),
                         [](const auto& info) { return info.param.name; });

// A restart whose write fails half way: the number reported, and the box's
// first line once a sink has changed the number to 99.
class FileErrorTest : public LogTest,
                      public ::testing::WithParamInterface<std::pair<Long, std::string>> {};

TEST_P(FileErrorTest, SinkChangesTheNumberShownOnlyForOtherFailures) {
  book->WriteEventToLogFile("kept");
  book->OverwriteLogFile(True);
  FaultyFiles files;
  files.writeError = GetParam().first;
  recorder.onError = [](Integer& number) { number = 99; };
  recorder.successes = 0;
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("lost"); }),
            Failed(GetParam().first, GetParam().second));
  EXPECT_EQ(Shown()[0].icon, MessageIcon::Critical);
  EXPECT_EQ(Exclamations(), 1);
  EXPECT_EQ(book->OverwriteLogFile(), True);  // still pending
  EXPECT_EQ(ReadFile(logPath), "");  // restarted, then the torn start cut off
}

INSTANTIATE_TEST_SUITE_P(Numbers, FileErrorTest,
                         ::testing::Values(std::pair(57, "Device I/O Error!"),
                                           std::pair(61, "Disk is Full!"),
                                           std::pair(75, "Path/File Error!"),
                                           std::pair(70, "Run Time Error Number 99 occurred.")),
                         [](const auto& info) { return std::to_string(info.param.first); });

}  // namespace
}  // namespace jotwell
