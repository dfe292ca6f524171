#include "LogTestSupport.h"

namespace jotwell {
namespace {

using namespace test;

// The success handler may write too, and ask for an overwrite, which is
// cleared once the outer write returns. Its event holds a CR LF, which goes
// into the file unchanged.
TEST_F(LogTest, WritesEndAndDeleteInTurn) {
  recorder.onSuccess = [&] {
    recorder.onSuccess = nullptr;
    book->WriteEventToLogFile("from\r\nthe sink");
    book->OverwriteLogFile(True);
  };
  EXPECT_EQ(Outcome([&] { book->WriteEventToLogFile("one"); }), Succeeded(2));
  EXPECT_EQ(book->OverwriteLogFile(), False);
  EXPECT_EQ(Outcome([&] { book->EndLogFileEvents(); book->WriteEventToLogFile("two"); }), Succeeded(3));
  EXPECT_THAT(LogLines(), ElementsAre("started", "", "- one", "- from", "the sink", "", "ended", "", "- two"));
  EXPECT_EQ(book->DoesLogFileExist(), True);
  EXPECT_EQ(Outcome([&] { book->DeleteLogFile(); book->WriteEventToLogFile("three"); }), Succeeded(4));
  EXPECT_THAT(LogLines(), ElementsAre("started", "", "- three"));  // the old log gone
}

// A missing file; a name the system would cut at its NUL, which must leave
// the file named by the part before it alone; a log that was never named.
TEST_F(LogTest, WithoutAFileEndAndDeleteOnlyShowBoxes) {
  auto endAndDelete = [&] {
    EXPECT_EQ(Outcome([&] { book->EndLogFileEvents(); }), NotFound());
    EXPECT_EQ(book->DoesLogFileExist(), False);
    EXPECT_EQ(Outcome([&] { book->DeleteLogFile(); }),
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
            Shows("", "Device I/O Error!\r\nCan't delete logfile, no logfile name specified!\r\n" + std::string(kConsult)));
}

}  // namespace
}  // namespace jotwell
