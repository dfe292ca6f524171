// The log's settings, free disk space and the per-thread file numbers.
#include "LogTestSupport.h"
#include "base/LibraryFacts.h"
#include "base/FileNumbers.h"

namespace jotwell {
namespace {

using namespace test;
using ::testing::ElementsAre;

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
  EXPECT_EQ(book->DoesLogFileExist(), False);  // a folder is no log file
}

TEST_F(LogTest, FreeSpaceIsTheRealFigureOfTheLogsFolderOrItsNearestParent) {
  FaultyFiles files;  // passes the real figures through
  EXPECT_GT(book->DiskFreeSpace(), Currency());
  book->LogFileName(dir.File("missing/deeper/app.log"));
  EXPECT_GT(book->DiskFreeSpace(), Currency());
  JotBook().DiskFreeSpace();
  EXPECT_THAT(files.freeSpaceAskedFor,
              ElementsAre(dir.path().string(), dir.File("missing/deeper"), dir.File("missing"),
                          dir.path().string(), "/"));
}

// The volume's figure in bytes (unset: the query fails) and the Currency.
class FreeSpaceTest
    : public LogTest,
      public ::testing::WithParamInterface<std::pair<std::optional<std::uint64_t>, std::int64_t>> {
};

TEST_P(FreeSpaceTest, IsWholeBytesOrZeroSilently) {
  FaultyFiles files;
  files.freeBytes = GetParam().first;
  if (!GetParam().first) files.volumeError = errnum::kDeviceIO;
  EXPECT_EQ(book->DiskFreeSpace().Scaled(), GetParam().second);
  EXPECT_THAT(desktop->Shown(testing::ScriptedDesktop::Kind::Report), ::testing::IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Figures, FreeSpaceTest,
                         ::testing::Values(std::pair(123'456, 1'234'560'000),
                                           std::pair(Currency::kMaxWhole,
                                                     Currency::kMaxWhole* Currency::kScale),
                                           std::pair(Currency::kMaxWhole + 1, 0),
                                           std::pair(UINT64_MAX, 0), std::pair(std::nullopt, 0)));

TEST_F(LogTest, FileNumbersRunFrom1To255AndAWriteWithNoneFreeFailsWith67) {
  auto fails = [](int number) {
    return ::testing::Throws<RuntimeError>(::testing::Property(&RuntimeError::Number, number));
  };
  FileNumbers& numbers = ThisThreadFileNumbers();
  for (Integer number = 1; number <= 255; ++number) numbers.Bind(number, -1);
  std::string outcome = Outcome([&] { book->WriteEventToLogFile("x"); });
  EXPECT_THAT([&] { numbers.Bind(0, 1); }, fails(52));
  EXPECT_THAT([&] { numbers.Bind(256, 1); }, fails(52));
  EXPECT_THAT([&] { numbers.Bind(255, 1); }, fails(55));
  numbers.Unbind(7);
  EXPECT_THAT([&] { numbers.At(7); }, fails(52));
  EXPECT_EQ(numbers.FreeFile(), 7);  // the lowest free one
  for (Integer number = 1; number <= 255; ++number)
    if (number != 7) numbers.Unbind(number);
  EXPECT_EQ(outcome, Failed(67, "Run Time Error Number 67 occurred."));
}

}  // namespace
}  // namespace jotwell
