// The log's name and free disk space.
#include "LogTestSupport.h"
#include "base/LibraryFacts.h"
#include "values/PathDialect.h"

namespace jotwell {
namespace {

using namespace test;

// Only plain spaces are trimmed: tabs, line ends and no-break spaces stay.
TEST_F(LogTest, NamesAreTrimmedAndRelativeOnesCompletedWithTheLibraryFolder) {
  const std::string folder = LibraryFolder() + NativePaths().Separator(), nbsp = "\xC2\xA0";
  for (auto [given, stored] : std::vector<std::pair<std::string, std::string>>{
           {"  " + logPath + "  ", logPath},
           {" my app.log ", folder + "my app.log"},
           {"", folder},
           {"   ", folder},
           {"\tapp.log\n", folder + "\tapp.log\n"},
           {nbsp + "app.log", folder + nbsp + "app.log"}}) {
    book->LogFileName(given);
    EXPECT_EQ(book->LogFileName(), stored) << given;
  }
  EXPECT_EQ(book->DoesLogFileExist(), False);  // a folder is no log file
}

// The real figure of the log's folder or, while that is missing, of its
// nearest existing parent; then the volume's figures in whole bytes, 0 for
// one a Currency cannot hold or that cannot be read, and never a box.
TEST_F(LogTest, FreeSpaceIsTheLogFoldersInWholeBytesOrZeroSilently) {
  FaultyFiles files;  // passes the real figures through until told otherwise
  EXPECT_GT(book->DiskFreeSpace(), Currency());
  book->LogFileName(dir.File("missing/deeper/app.log"));
  EXPECT_GT(book->DiskFreeSpace(), Currency());
  JotBook().DiskFreeSpace();
  EXPECT_THAT(files.freeSpaceAskedFor,
              ElementsAre(dir.path().string(), dir.File("missing/deeper"), dir.File("missing"),
                          dir.path().string(), NativePaths().Root()));
  for (auto [bytes, scaled] : std::vector<std::pair<std::uint64_t, std::int64_t>>{
           {123'456, 1'234'560'000}, {Currency::kMaxWhole, Currency::kMaxWhole * Currency::kScale},
           {Currency::kMaxWhole + 1, 0}, {UINT64_MAX, 0}}) {
    files.freeBytes = bytes;
    EXPECT_EQ(book->DiskFreeSpace().Scaled(), scaled) << bytes;
  }
  files.volumeError = errnum::kDeviceIO;
  EXPECT_EQ(book->DiskFreeSpace().Scaled(), 0);
  EXPECT_EQ(desktop->Shown().size(), desktop->Shown(testing::ScriptedDesktop::Kind::About).size());  // neither box nor report
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

}  // namespace
}  // namespace jotwell
