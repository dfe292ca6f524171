// jotbook: an example host that drives JotBook from the command line.
//
//   jotbook demo      a guided tour, headless
#include <cstdio>
#include <cstring>
#include <string>

#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace {

using namespace jotwell;

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

int Demo() {
  std::puts("Creating the first JotBook on this thread (its About window follows).");
  JotBook book;
  std::printf("Call trace depth before and after a traced call: %zu, ",
              ErrorManager().CallDepth());
  book.MaximumLogFileSize(4096);
  std::printf("%zu (MaximumLogFileSize now %d)\n", ErrorManager().CallDepth(),
              book.MaximumLogFileSize());
  std::puts("A failing procedure: its report follows, answered Abort when headless.");
  DemoFailure();
  std::printf("Call trace depth after the report: %zu\n", ErrorManager().CallDepth());
  std::printf("The report was appended to %s\n", book.LogFileName().empty() ? "the error log beside the library" : "");
  return 0;
}

int Usage() {
  std::fputs("usage: jotbook demo\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "demo") == 0) return Demo();
  return Usage();
}
