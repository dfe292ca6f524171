#include "LogTestSupport.h"
#include "component/LibraryFacts.h"
#include "errors/frmErrMn.h"

namespace jotwell {
namespace {

using test::LogTest;
using test::WriteFile;

TEST_F(LogTest, CompleteNameIsStoredWithoutSurroundingBlanks) {
  book->LogFileName("  " + logPath + "  ");
  EXPECT_EQ(book->LogFileName(), logPath);
}

TEST_F(LogTest, RelativeNamesAreCompletedWithTheLibraryFolder) {
  book->LogFileName("app.log");
  EXPECT_EQ(book->LogFileName(), LibraryFolder() + "/app.log");
  book->LogFileName("logs/app.log");
  EXPECT_EQ(book->LogFileName(), LibraryFolder() + "/logs/app.log");
  // Drive letters mean nothing here: such a name is relative too.
  book->LogFileName("C:\\logs\\app.log");
  EXPECT_EQ(book->LogFileName(), LibraryFolder() + "/C:\\logs\\app.log");
}

TEST_F(LogTest, EmptyNameBecomesTheLibraryFolder) {
  book->LogFileName("");
  EXPECT_EQ(book->LogFileName(), LibraryFolder() + "/");
  EXPECT_EQ(book->DoesLogFileExist(), False);
}

TEST_F(LogTest, LimitKeepsAnyValue) {
  book->MaximumLogFileSize(-5);
  EXPECT_EQ(book->MaximumLogFileSize(), -5);
}

TEST_F(LogTest, SizeIsMeasuredAtEachCall) {
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 0);
  WriteFile(logPath, "12345\r\n");
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 7);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, ExistenceNeedsAnOpenableFile) {
  JotBook unnamed;
  EXPECT_EQ(unnamed.DoesLogFileExist(), False);
  EXPECT_EQ(book->DoesLogFileExist(), False);
  WriteFile(logPath, "");
  EXPECT_EQ(book->DoesLogFileExist(), True);
  book->LogFileName(dir.path().string());
  EXPECT_EQ(book->DoesLogFileExist(), False);
}

}  // namespace
}  // namespace jotwell
