// The log's settings, free disk space and the per-thread file numbers.
#include "LogTestSupport.h"
#include "component/LibraryFacts.h"
#include "logfile/FileNumbers.h"

namespace jotwell {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LogTest, NamesAreTrimmedAndRelativeOnesCompletedWithTheLibraryFolder) {
  const std::string folder = LibraryFolder();
  for (auto [given, stored] : std::vector<std::pair<std::string, std::string>>{
           {"  " + logPath + "  ", logPath},
           {"app.log", folder + "/app.log"},
           {"logs/app.log", folder + "/logs/app.log"},
           {"C:\\logs\\app.log", folder + "/C:\\logs\\app.log"},  // no drive letters here
           {"", folder + "/"}}) {
    book->LogFileName(given);
    EXPECT_EQ(book->LogFileName(), stored) << given;
  }
}

TEST_F(LogTest, SizeAndExistenceAreMeasuredAtEachCall) {
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 0);
  EXPECT_EQ(book->DoesLogFileExist(), False);
  WriteFile(logPath, "12345\r\n");
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 7);
  EXPECT_EQ(book->DoesLogFileExist(), True);
  EXPECT_EQ(JotBook().DoesLogFileExist(), False);
  book->LogFileName(dir.path().string());
  EXPECT_EQ(book->DoesLogFileExist(), False);  // a folder is no log
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, FreeSpaceIsARealFigureEvenForAFolderNotMadeYet) {
  EXPECT_GT(book->DiskFreeSpace(), Currency());
  book->LogFileName(dir.File("missing/deeper/app.log"));
  EXPECT_GT(book->DiskFreeSpace(), Currency());
}

TEST_F(LogTest, FreeSpaceIsAskedOfTheLogsFolder) {
  FaultyFiles files;
  book->LogFileName(dir.File("missing/deeper/app.log"));
  book->DiskFreeSpace();
  JotBook().DiskFreeSpace();
  EXPECT_THAT(files.freeSpaceAskedFor, ElementsAre(dir.File("missing/deeper"), "/"));
}

// The volume's figure in bytes (unset: the query fails) and the Currency.
struct Figure {
  std::optional<std::uint64_t> bytes;
  std::int64_t scaled;
  friend void PrintTo(const Figure& f, std::ostream* out) { *out << f.bytes.value_or(0); }
};

class FreeSpaceTest : public LogTest, public ::testing::WithParamInterface<Figure> {};

TEST_P(FreeSpaceTest, IsWholeBytesOrZeroSilently) {
  FaultyFiles files;
  files.freeBytes = GetParam().bytes;
  if (!GetParam().bytes) files.volumeError = errnum::kDeviceIO;
  EXPECT_EQ(book->DiskFreeSpace().Scaled(), GetParam().scaled);
  EXPECT_THAT(desktop->Shown(), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, FreeSpaceTest,
    ::testing::Values(Figure{123'456, 1'234'560'000},
                      Figure{Currency::kMaxWhole, Currency::kMaxWhole * Currency::kScale},
                      Figure{Currency::kMaxWhole + 1, 0}, Figure{UINT64_MAX, 0},
                      Figure{std::nullopt, 0}));

TEST(FileNumbers, HandsOutTheLowestFreeNumberFrom1To255) {
  FileNumbers numbers;
  auto errorOf = [](const std::function<void()>& action) -> Long {
    try {
      action();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  };
  EXPECT_EQ(numbers.FreeFile(), 1);
  numbers.Bind(1, 10);
  numbers.Bind(2, 20);
  EXPECT_EQ(numbers.FreeFile(), 3);
  EXPECT_EQ(numbers.Unbind(1), 10);
  EXPECT_EQ(numbers.FreeFile(), 1);
  numbers.Bind(255, 1);
  EXPECT_EQ(errorOf([&] { numbers.Bind(0, 1); }), 52);
  EXPECT_EQ(errorOf([&] { numbers.Bind(256, 1); }), 52);
  EXPECT_EQ(errorOf([&] { numbers.Bind(255, 2); }), 55);
  EXPECT_EQ(errorOf([&] { numbers.At(7); }), 52);
}

TEST_F(LogTest, WriteWithEveryFileNumberOfTheThreadInUseFailsWith67) {
  FileNumbers& numbers = ThisThreadFileNumbers();
  for (Integer number = 1; number <= 255; ++number) numbers.Bind(number, -1);
  std::string outcome = Outcome([&] { book->WriteEventToLogFile("x"); });
  for (Integer number = 1; number <= 255; ++number) numbers.Unbind(number);
  EXPECT_EQ(outcome, Failed(67, "Run Time Error Number 67 occurred."));
}

}  // namespace
}  // namespace jotwell
