// The guided demo: an event log written, ended and printed, a write that
// fails and is reported by event and message box, a setting written and
// read back, and a pattern copy.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "Commands.h"

namespace jotbook {

namespace {

namespace fs = std::filesystem;

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

// Returns whether the events came as expected.
bool ShowEventLog(Book& book, const fs::path& folder) {
  book.MaximumLogFileSize(4096);
  fs::path log = folder / "demo.log";
  std::printf("\nWriting three events to %s, then ending the log.\n", TextOfPath(log).c_str());
  book.LogFileName(TextOfPath(log));
  for (const char* text : {"Program started", "Data saved", "Program closed"})
    book.WriteEventToLogFile(text);
  book.EndLogFileEvents();
  Book::Events events = book.RaisedEvents();
  std::printf(
      "SuccessfulWriteToLogFile raised %d times, ErrorWritingToLogFile %d times; "
      "the file holds %d bytes.\n",
      events.successes, events.errors, static_cast<int>(book.SizeOfCurrentLogFile()));
  std::puts("---- the log file ----");
  std::fflush(stdout);
  PrintFile(log);
  std::puts("---- end of the log file ----");

  std::puts("\nWriting to a log in a folder that does not exist: the library reports the");
  std::puts("failure by event and by message box, and the call returns normally.");
  std::fflush(stdout);
  book.LogFileName(TextOfPath(folder / "missing" / "demo.log"));
  book.WriteEventToLogFile("Lost");
  const Book::Events& after = book.RaisedEvents();
  std::printf("ErrorWritingToLogFile raised with run-time error %d.\n", after.lastError);
  return events.errors == 0 && events.successes == 3 && after.errors == 1 && after.successes == 3;
}

bool ShowSettings(Book& book, const fs::path& folder) {
  fs::path ini = folder / "demo.ini";
  std::printf("\nWriting Greeting in section [Demo] of %s, then reading it back.\n",
              TextOfPath(ini).c_str());
  book.INI_PathToINI(TextOfPath(ini));
  bool written = book.INI_WriteString("Demo", "Greeting", "Hello from Jotwell") != 0;
  std::string greeting = book.INI_ReadString("Demo", "Greeting");
  std::printf("[Demo] Greeting=%s\n", greeting.c_str());
  return written && greeting == "Hello from Jotwell";
}

bool ShowCopy(Book& book, const fs::path& folder) {
  // The folders are prefixes: each ends with its separator.
  std::string source = TextOfPath(folder / ""), destination = TextOfPath(folder / "copies" / "");
  std::printf("\nCopying demo.* from %s to %s (created first).\n", source.c_str(), destination.c_str());
  std::int32_t copied = book.CopyFiles(source, destination, "demo.*");
  std::printf("CopyFiles handled %d entries:", static_cast<int>(copied));
  for (const auto& entry : fs::directory_iterator(PathOf(destination)))
    std::printf(" %s", TextOfPath(entry.path().filename()).c_str());
  std::puts("");
  return copied == 2;
}

}  // namespace

int Demo(const Arguments& args) {
  if (!args.empty()) return Usage();
  std::puts(
      "Creating the first JotBook on this thread (with a display, its About window follows).");
  std::unique_ptr<Book> book = OpenBook();
  fs::path folder = NewTemporaryFolder();
  bool logged = ShowEventLog(*book, folder);
  bool set = ShowSettings(*book, folder);
  bool copied = ShowCopy(*book, folder);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return logged && set && copied ? kDone : kFailed;
}

}  // namespace jotbook
