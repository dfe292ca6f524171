#include "LogTestSupport.h"
#include "errors/frmErrMn.h"

namespace jotwell {
namespace {

using test::EndLinePattern;
using test::EventLinePattern;
using test::FaultyFiles;
using test::kConsult;
using test::LineMatches;
using test::LogTest;
using test::StartLinePattern;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = testing::ScriptedDesktop::Kind;

TEST_F(LogTest, EndAfterTwoEventsAppendsEmptyLineEndLineEmptyLine) {
  book->WriteEventToLogFile("one");
  book->WriteEventToLogFile("two");
  book->EndLogFileEvents();
  EXPECT_THAT(LogLines(),
              ElementsAre(LineMatches(StartLinePattern()), "", LineMatches(EventLinePattern("one")),
                          LineMatches(EventLinePattern("two")), "", LineMatches(EndLinePattern()),
                          ""));
  EXPECT_EQ(recorder.successes, 2);
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, WriteAfterEndFollowsTheEndLinesTrailingEmptyLine) {
  book->WriteEventToLogFile("one");
  book->EndLogFileEvents();
  book->WriteEventToLogFile("two");
  EXPECT_THAT(LogLines(),
              ElementsAre(LineMatches(StartLinePattern()), "", LineMatches(EventLinePattern("one")),
                          "", LineMatches(EndLinePattern()), "",
                          LineMatches(EventLinePattern("two"))));
}

TEST_F(LogTest, EndOnAMissingFileShowsNotFoundAndCreatesNothing) {
  book->EndLogFileEvents();
  EXPECT_THAT(Boxes(), ElementsAre("Device I/O Error!\r\nUnable to close " + logPath +
                                   ", file not found!\r\n" + kConsult));
  EXPECT_EQ(desktop->Shown(Kind::MessageBox)[0].icon, MessageIcon::Critical);
  EXPECT_EQ(Exclamations(), 1);
  EXPECT_FALSE(std::filesystem::exists(logPath));
  EXPECT_THAT(recorder.errors, IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, EndWarnsOfLowSpaceAndStillWritesTheEndLine) {
  book->WriteEventToLogFile("one");
  FaultyFiles files;
  files.freeBytes = 0;
  book->EndLogFileEvents();
  EXPECT_THAT(Boxes(), ElementsAre(std::string("Warning!\r\nFree drive space is low!\r\n") +
                                   kConsult));
  EXPECT_THAT(LogLines().back(), "");
  EXPECT_THAT(LogLines().end()[-2], LineMatches(EndLinePattern()));
}

TEST_F(LogTest, EndLeavesAnUnsetLimitAloneAndThenNeverWarns) {
  WriteFile(logPath, "");
  FaultyFiles files;
  files.freeBytes = 0;
  book->EndLogFileEvents();
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(book->MaximumLogFileSize(), 0);
}

TEST_F(LogTest, EndFailingToWriteReportsTheFileError) {
  WriteFile(logPath, "");
  FaultyFiles files;
  files.writeError = errnum::kDiskFull;
  book->EndLogFileEvents();
  EXPECT_THAT(recorder.errors, ElementsAre(61));
  EXPECT_THAT(Boxes(), ElementsAre("Disk is Full!\r\nUnable to open " + logPath +
                                   " on the local drive.\r\n" + kConsult));
  EXPECT_EQ(recorder.successes, 0);
}

TEST_F(LogTest, DeleteRemovesAnExistingFileSilently) {
  book->WriteEventToLogFile("one");
  book->DeleteLogFile();
  EXPECT_FALSE(std::filesystem::exists(logPath));
  EXPECT_EQ(book->DoesLogFileExist(), False);
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(book->LogFileName(), logPath);
  book->WriteEventToLogFile("two");
  EXPECT_THAT(LogLines(), ElementsAre(LineMatches(StartLinePattern()), "",
                                      LineMatches(EventLinePattern("two"))));
}

TEST_F(LogTest, DeleteOfAMissingFileShowsAnInformationBoxWithoutSound) {
  book->DeleteLogFile();
  EXPECT_THAT(Boxes(), ElementsAre("Unable to delete file " + logPath + " or file not found!"));
  EXPECT_EQ(desktop->Shown(Kind::MessageBox)[0].icon, MessageIcon::Information);
  EXPECT_EQ(Exclamations(), 0);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, DeleteOnANeverNamedLogRefuses) {
  JotBook unnamed;
  unnamed.DeleteLogFile();
  EXPECT_THAT(Boxes(), ElementsAre(std::string("Device I/O Error!\r\nCan't delete logfile, no "
                                               "logfile name specified!\r\n") +
                                   kConsult));
  EXPECT_EQ(desktop->Shown(Kind::MessageBox)[0].icon, MessageIcon::Critical);
  EXPECT_EQ(Exclamations(), 1);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, EveryBoxCarriesTheLibrarysTitle) {
  book->DeleteLogFile();
  EXPECT_THAT(desktop->Shown(Kind::MessageBox)[0].title,
              ::testing::StartsWith("libjotwell.so version 1.1.5"));
}

}  // namespace
}  // namespace jotwell
