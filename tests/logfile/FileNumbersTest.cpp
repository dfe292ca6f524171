#include "LogTestSupport.h"
#include "logfile/FileNumbers.h"

namespace jotwell {
namespace {

using test::LogTest;
using ::testing::ElementsAre;

Long ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(FileNumbers, HandsOutTheLowestFreeNumber) {
  FileNumbers numbers;
  EXPECT_EQ(numbers.FreeFile(), 1);
  numbers.Bind(1, 10);
  numbers.Bind(2, 20);
  EXPECT_EQ(numbers.FreeFile(), 3);
  EXPECT_EQ(numbers.Unbind(1), 10);
  EXPECT_EQ(numbers.FreeFile(), 1);
  EXPECT_EQ(numbers.At(2), 20);
}

TEST(FileNumbers, RefusesNumbersOutsideTheRangeOrInUse) {
  FileNumbers numbers;
  numbers.Bind(255, 1);
  EXPECT_EQ(ErrorOf([&] { numbers.Bind(0, 1); }), 52);
  EXPECT_EQ(ErrorOf([&] { numbers.Bind(256, 1); }), 52);
  EXPECT_EQ(ErrorOf([&] { numbers.Bind(255, 2); }), 55);
  EXPECT_EQ(ErrorOf([&] { numbers.At(7); }), 52);
}

TEST_F(LogTest, WriteWithEveryFileNumberOfTheThreadInUseFailsWith67) {
  FileNumbers& numbers = ThisThreadFileNumbers();
  for (Integer number = 1; number <= 255; ++number) numbers.Bind(number, -1);
  book->WriteEventToLogFile("x");
  for (Integer number = 1; number <= 255; ++number) numbers.Unbind(number);
  EXPECT_THAT(recorder.errors, ElementsAre(67));
  EXPECT_THAT(Boxes(), ElementsAre("Run Time Error Number 67 occurred.\r\nUnable to open " +
                                   logPath + " on the local drive.\r\n" + test::kConsult));
}

TEST_F(LogTest, FileNumbersAreFreeAgainAfterEveryWrite) {
  book->WriteEventToLogFile("x");
  book->EndLogFileEvents();
  EXPECT_EQ(ThisThreadFileNumbers().FreeFile(), 1);
}

}  // namespace
}  // namespace jotwell
