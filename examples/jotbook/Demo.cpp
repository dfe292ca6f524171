// The guided demo: the trace, a rendered and logged error report, and an
// event log written, ended and printed.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "Commands.h"
#include "errors/Trap.h"

namespace jotbook {

namespace {

using namespace jotwell;
namespace fs = std::filesystem;

constexpr Procedure kDemoFailure = "Module1![Sub DemoFailure]";

// A procedure of the host's own under the library's trap, failing once, to
// show the report the library renders and logs.
void DemoFailure() {
  String FileName = "/tmp/missing.txt";
  Long RetVal = 0;
  RunTraced(
      kDemoFailure,
      [&](Registrations& r) {
        r.Arguments({{"FileName", FileName}});
        r.Variables({{"RetVal", RetVal}});
      },
      [&](Trap& trap) { trap.Do([&] { throw RuntimeError(errnum::kFileNotFound); }); });
}

// A new folder of the demo's own under the system's temporary folder.
fs::path NewTemporaryFolder() {
  std::random_device random;
  for (;;) {
    fs::path folder = fs::temp_directory_path() / ("jotbook-demo-" + std::to_string(random()));
    if (fs::create_directory(folder)) return folder;
  }
}

void PrintFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The log's lines end in CR LF; a terminal wants LF.
  for (char c : text)
    if (c != '\r') std::putchar(c);
}

}  // namespace

int Demo(const Arguments& args) {
  if (!args.empty()) return Usage();
  std::puts("Creating the first JotBook on this thread (its About window follows).");
  JotBook book;
  std::printf("Call trace depth before and after a traced call: %zu, ",
              ErrorManager().CallDepth());
  book.MaximumLogFileSize(4096);
  std::printf("%zu (MaximumLogFileSize now %d)\n", ErrorManager().CallDepth(),
              book.MaximumLogFileSize());

  std::puts("\nA failing procedure: its report follows, answered Abort when headless.");
  DemoFailure();
  std::printf("Call trace depth after the report: %zu\n", ErrorManager().CallDepth());
  std::puts("The report was also appended to the error log beside the library.");

  fs::path folder = NewTemporaryFolder();
  fs::path log = folder / "demo.log";
  std::printf("\nWriting three events to %s, then ending the log.\n", log.string().c_str());
  EventCounter events;
  book.Advise(events);
  book.LogFileName(log.string());
  for (const char* text : {"Program started", "Data saved", "Program closed"})
    book.WriteEventToLogFile(text);
  book.EndLogFileEvents();
  book.Unadvise(events);
  std::printf("SuccessfulWriteToLogFile raised %d times, ErrorWritingToLogFile %d times; "
              "the file holds %d bytes.\n",
              events.successes, events.errors, book.SizeOfCurrentLogFile());
  std::puts("---- the log file ----");
  std::fflush(stdout);
  PrintFile(log);
  std::puts("---- end of the log file ----");

  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return events.errors == 0 && events.successes == 3 ? kDone : kFailed;
}

}  // namespace jotbook
