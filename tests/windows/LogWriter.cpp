// One writer process of the Windows many-writers test: a JotBook of its own
// writes EVENTS events "wWRITER eN" to LOG; the exit code says whether each
// raised its success event.
// Usage: log_writer LOG WRITER EVENTS
#include <cstdlib>
#include <string>

#include "jotwell/JotBook.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  struct : jotwell::JotBookEvents {
    void SuccessfulWriteToLogFile() override { ++successes; }
    void ErrorWritingToLogFile(jotwell::Integer&) override {}
    int successes = 0;
  } events;
  jotwell::JotBook book;
  book.Advise(events);
  book.LogFileName(argv[1]);
  const int count = std::atoi(argv[3]);
  for (int event = 0; event < count; ++event)
    book.WriteEventToLogFile("w" + std::string(argv[2]) + " e" + std::to_string(event));
  book.Unadvise(events);
  return events.successes == count ? 0 : 1;
}
