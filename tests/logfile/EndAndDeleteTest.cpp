#include "LogTestSupport.h"
#include "base/FileNumbers.h"

namespace jotwell {
namespace {

using namespace test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LogTest, EndAfterTwoEventsAppendsEmptyLineEndLineEmptyLine) {
  book->WriteEventToLogFile("one");
  book->WriteEventToLogFile("two");
  book->EndLogFileEvents();
  book->WriteEventToLogFile("three");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("one")),
                                      Matches(EventLine("two")), "", Matches(EndLine()), "",
                                      Matches(EventLine("three"))));
  EXPECT_EQ(recorder.successes, 3);
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_EQ(ThisThreadFileNumbers().FreeFile(), 1);  // every number given back
}

TEST_F(LogTest, EndAndDeleteOfAMissingFileOnlyShowBoxes) {
  book->EndLogFileEvents();
  EXPECT_FALSE(std::filesystem::exists(logPath));
  EXPECT_EQ(book->DoesLogFileExist(), False);
  EXPECT_EQ(book->SizeOfCurrentLogFile(), 0);
  book->DeleteLogFile();
  EXPECT_THAT(Boxes(), ElementsAre("Device I/O Error!\r\nUnable to close " + logPath +
                                       ", file not found!\r\n" + kConsult,
                                   "Unable to delete file " + logPath + " or file not found!"));
  auto shown = Shown();
  EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
  EXPECT_EQ(shown[1].icon, MessageIcon::Information);
  EXPECT_THAT(shown[1].title, ::testing::StartsWith("libjotwell.so version 1.1.5"));
  EXPECT_EQ(Exclamations(), 1);  // for the first only
  EXPECT_THAT(recorder.errors, IsEmpty());
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

TEST_F(LogTest, DeleteRemovesAnExistingFileSilently) {
  book->WriteEventToLogFile("one");
  EXPECT_EQ(book->DoesLogFileExist(), True);
  book->DeleteLogFile();
  EXPECT_FALSE(std::filesystem::exists(logPath));
  EXPECT_THAT(Boxes(), IsEmpty());
  book->WriteEventToLogFile("two");
  EXPECT_THAT(LogLines(), ElementsAre(Matches(StartLine()), "", Matches(EventLine("two"))));
}

TEST_F(LogTest, NeverNamedLogRefusesWritesAndDeletes) {
  JotBook unnamed;
  EXPECT_EQ(unnamed.DoesLogFileExist(), False);
  unnamed.Advise(recorder);
  unnamed.WriteEventToLogFile("x");
  EXPECT_THAT(recorder.errors, ElementsAre(75));
  unnamed.DeleteLogFile();
  EXPECT_THAT(Boxes(), ElementsAre(FileErrorBox("Path/File Error!", ""),
                                   std::string("Device I/O Error!\r\nCan't delete logfile, no "
                                               "logfile name specified!\r\n") +
                                       kConsult));
  EXPECT_EQ(Shown()[1].icon, MessageIcon::Critical);
  EXPECT_EQ(Exclamations(), 2);
}

// The system would cut the name at the NUL: the file named by the part before
// it is neither created, written nor deleted.
TEST_F(LogTest, ANameHoldingNulIsRefused) {
  const std::string name = logPath + std::string("\0.old", 5);
  book->LogFileName(name);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }), Failed(75, "Path/File Error!"));
  EXPECT_FALSE(std::filesystem::exists(logPath));
  WriteFile(logPath, "kept\r\n");
  EXPECT_EQ(book->DoesLogFileExist(), False);
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("x"); }), Failed(75, "Path/File Error!"));
  book->EndLogFileEvents();
  book->DeleteLogFile();
  EXPECT_EQ(ReadFile(logPath), "kept\r\n");
  EXPECT_THAT(Boxes(), ElementsAre(::testing::_, ::testing::_,
                                   "Device I/O Error!\r\nUnable to close " + name +
                                       ", file not found!\r\n" + kConsult,
                                   "Unable to delete file " + name + " or file not found!"));
}

}  // namespace
}  // namespace jotwell
