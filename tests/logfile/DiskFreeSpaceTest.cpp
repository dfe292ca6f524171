#include "LogTestSupport.h"
#include "errors/frmErrMn.h"

namespace jotwell {
namespace {

using test::FaultyFiles;
using test::LogTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LogTest, FreeSpaceIsTheVolumesFigureInWholeBytes) {
  FaultyFiles files;
  files.freeBytes = 123'456;
  EXPECT_EQ(book->DiskFreeSpace(), Currency::FromScaled(1'234'560'000));
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, FreeSpaceIsAskedOfTheLogsFolder) {
  FaultyFiles files;
  book->LogFileName(dir.File("missing/deeper/app.log"));
  book->DiskFreeSpace();
  EXPECT_THAT(files.freeSpaceAskedFor, ElementsAre(dir.File("missing/deeper")));
}

TEST_F(LogTest, FreeSpaceOfAFolderNotMadeYetIsItsNearestParentsFigure) {
  book->LogFileName(dir.File("missing/deeper/app.log"));
  EXPECT_GT(book->DiskFreeSpace(), Currency());
}

TEST_F(LogTest, FreeSpaceOfANeverNamedLogIsTheRootsFigure) {
  FaultyFiles files;
  JotBook unnamed;
  unnamed.DiskFreeSpace();
  EXPECT_THAT(files.freeSpaceAskedFor, ElementsAre("/"));
}

TEST_F(LogTest, FreeSpaceOfARealVolumeIsPositive) {
  EXPECT_GT(book->DiskFreeSpace(), Currency());
}

struct Overflow {
  std::uint64_t bytes;
  std::int64_t expectedScaled;
  friend void PrintTo(const Overflow& figure, std::ostream* out) { *out << figure.bytes; }
};

class FreeSpaceRangeTest : public LogTest, public ::testing::WithParamInterface<Overflow> {};

TEST_P(FreeSpaceRangeTest, FiguresBeyondACurrencyGiveZeroSilently) {
  FaultyFiles files;
  files.freeBytes = GetParam().bytes;
  EXPECT_EQ(book->DiskFreeSpace().Scaled(), GetParam().expectedScaled);
  EXPECT_TRUE(desktop->Shown(testing::ScriptedDesktop::Kind::Report).empty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, FreeSpaceRangeTest,
    ::testing::Values(Overflow{Currency::kMaxWhole, Currency::kMaxWhole * Currency::kScale},
                      Overflow{Currency::kMaxWhole + 1, 0}, Overflow{UINT64_MAX, 0}),
    [](const auto& info) { return "Bytes" + std::to_string(info.param.bytes); });

TEST_F(LogTest, FailingFreeSpaceQueryGivesZeroWithoutAReport) {
  FaultyFiles files;
  files.volumeError = errnum::kDeviceIO;
  EXPECT_EQ(book->DiskFreeSpace(), Currency());
  EXPECT_THAT(desktop->Shown(testing::ScriptedDesktop::Kind::Report), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

}  // namespace
}  // namespace jotwell
