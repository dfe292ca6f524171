// jotbook: an example host that drives JotBook from the command line, for
// people and for shell scripts. A script must never wait on a window, so
// the member subcommands show message boxes and reports on standard error
// unless --windows asks for real windows; the demo shows real windows
// whenever a display can be reached, unless --headless.
#include <cstdio>
#include <cstring>
#include <exception>

#include "Commands.h"
#include "jotwell/Desktop.h"

namespace jotbook {

int Usage(std::FILE* out) {
  std::fputs(
      "usage: jotbook [--windows | --headless] COMMAND\n"
      "commands: demo\n"
      "          log --file F [--max BYTES] [--overwrite] [--] TEXT...\n"
      "          end-log --file F\n"
      "          delete-log --file F\n"
      "          free-space --file F\n"
      "          log-size --file F\n"
      "          ini get|get-int --ini F SECTION KEY\n"
      "          ini set --ini F SECTION KEY VALUE\n"
      "          strip-path PATH\n"
      "          trash FILE\n"
      "          copy SOURCE DESTINATION PATTERN   (prints the number of entries handled)\n"
      "          recent FILE\n"
      "          register | unregister   (the component, in $XDG_DATA_HOME/jotwell/)\n"
      "          call [--set PROPERTY=VALUE]... MEMBER [ARGUMENT]...\n"
      "               (late bound through the registration record: prints the result,\n"
      "               then every argument the member changed)\n"
      "          --help\n"
      "--windows  shows the About window, message boxes and reports in real windows\n"
      "           (the default for demo when a display can be reached; the other\n"
      "           commands use standard error, so that scripts never wait on a window)\n"
      "--headless shows message boxes and reports on standard error, never in a window\n"
      "exit codes: 0 done; 1 the library reported a failure (log and end-log print\n"
      "the run-time error number on standard error); 2 usage error\n",
      out);
  return kUsage;
}

int Usage() { return Usage(stderr); }

}  // namespace jotbook

int main(int argc, char** argv) {
  using namespace jotbook;
  struct Command {
    const char* name;
    int (*run)(const Arguments&);
  };
  static constexpr Command kCommands[] = {
      {"demo", Demo},           {"log", Log},               {"end-log", EndLog},
      {"delete-log", DeleteLog}, {"free-space", FreeSpace}, {"log-size", LogSize},
      {"ini", Ini},             {"strip-path", StripPath}, {"trash", Trash},
      {"copy", Copy},           {"recent", Recent},         {"register", Register},
      {"unregister", Unregister}, {"call", Call},
  };
  int first = 1;
  bool windows = false;
  bool headless = false;
  for (; argc > first && argv[first][0] == '-' && argv[first][1] == '-'; ++first) {
    if (std::strcmp(argv[first], "--windows") == 0) windows = true;
    else if (std::strcmp(argv[first], "--headless") == 0) headless = true;
    else break;
  }
  if (argc <= first || (windows && headless)) return Usage();
  if (headless || (!windows && std::strcmp(argv[first], "demo") != 0))
    jotwell::SetDesktop(jotwell::HeadlessDesktop());
  if (std::strcmp(argv[first], "--help") == 0) return Usage(stdout), kDone;
  Arguments args(argv + first + 1, argv + argc);
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[first], command.name) != 0) continue;
    try {
      return command.run(args);
    } catch (const std::exception& error) {
      // Only an error raised while the library's own handler ran gets here.
      std::fprintf(stderr, "jotbook: %s\n", error.what());
      return kFailed;
    }
  }
  return Usage();
}
