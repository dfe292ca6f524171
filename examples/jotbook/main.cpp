// jotbook: an example host that drives JotBook from the command line, for
// people and for shell scripts. A script must never wait on a window, so on
// Linux the member subcommands show message boxes and reports on standard
// error unless --windows asks for real windows; the demo shows real windows
// whenever a display can be reached, unless --headless.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "Commands.h"

namespace jotbook {

namespace {

#ifdef _WIN32
constexpr const char* kRegisterUsage = "register   (the component, as regsvr32 does)";
constexpr const char* kGlobalUsage = "usage: jotbook COMMAND\n";
constexpr const char* kNotes =
    "The member commands load Jotwell.dll from jotbook.exe's folder, so they need no\n"
    "registration (call does). A relative path is taken from the current folder; an\n"
    "absolute one is passed as given. trash, recent and copy check first that their\n"
    "source exists. Jotwell.dll shows its boxes and reports in windows on an\n"
    "interactive desktop, else on standard error.\n";
#else
constexpr const char* kRegisterUsage = "register   (the component, in $XDG_DATA_HOME/jotwell/)";
constexpr const char* kGlobalUsage = "usage: jotbook [--windows | --headless] COMMAND\n";
constexpr const char* kNotes =
    "A relative path is taken from the current folder; one starting with / is\n"
    "passed as given. trash, recent and copy check first that their source exists.\n"
    "--windows  shows the About window, message boxes and reports in real windows\n"
    "           (the default for demo when a display can be reached; the other\n"
    "           commands use standard error, so that scripts never wait on a window)\n"
    "--headless shows message boxes and reports on standard error, never in a window\n";
#endif

struct Command {
  const char* name;
  int (*run)(const Arguments&);
  // Each line a form of the command, after "jotbook ", or, when it starts
  // with a blank, a note to the line before.
  const char* usage;
};

constexpr Command kCommands[] = {
    {"demo", Demo, "demo"},
    {"log", Log, "log --file F [--max BYTES] [--overwrite] [--] TEXT..."},
    {"end-log", EndLog, "end-log --file F"},
    {"delete-log", DeleteLog, "delete-log --file F"},
    {"free-space", FreeSpace, "free-space --file F"},
    {"log-size", LogSize, "log-size --file F"},
    {"ini", Ini,
     "ini get|get-int --ini F SECTION KEY   (a missing or empty key prints an empty line)\n"
     "ini set --ini F SECTION KEY VALUE"},
    {"strip-path", StripPath, "strip-path PATH"},
    {"trash", Trash, "trash FILE   (FILE must exist)"},
    {"copy", Copy,
     "copy SOURCE DESTINATION PATTERN   (prints the number of entries handled;\n"
     "     the folder SOURCE names must exist)"},
    {"recent", Recent, "recent FILE   (FILE must exist)"},
    {"register", Register, kRegisterUsage},
    {"unregister", Unregister, "unregister"},
    {"call", Call,
     "call [--set PROPERTY=VALUE]... MEMBER [ARGUMENT]...\n"
     "     (late bound through the registration record: prints the result,\n"
     "     then every argument the member changed)"},
};

void PrintUsageOf(const Command& command, std::FILE* out) {
  std::string lines = command.usage;
  for (std::size_t at = 0, end; at < lines.size(); at = end + 1) {
    end = std::min(lines.find('\n', at), lines.size());
    std::string line = lines.substr(at, end - at);
    std::fprintf(out, "  %s%s\n", line[0] == ' ' ? "" : "jotbook ", line.c_str());
  }
}

// "--help" among the options, which end at "--".
bool AsksForHelp(const Arguments& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help") return true;
  }
  return false;
}

}  // namespace

int Usage(std::FILE* out) {
  std::fputs(kGlobalUsage, out);
  for (const Command& command : kCommands) PrintUsageOf(command, out);
  std::fputs(
      "  jotbook --help | --version\n"
      "  jotbook COMMAND --help   (that command's usage)\n",
      out);
  std::fputs(kNotes, out);
  std::fputs(
      "exit codes: 0 done; 1 a failure, said in one line on standard error (the\n"
      "library's: 'jotbook: MEMBER: NUMBER DESCRIPTION'); 2 usage error\n",
      out);
  return kUsage;
}

int Usage() { return Usage(stderr); }

}  // namespace jotbook

int main(int argc, char** argv) {
  using namespace jotbook;
  Arguments args = ProgramArguments(argc, argv);
  std::size_t first = 0;
  bool windows = false;
  bool headless = false;
  for (; first < args.size(); ++first) {
    if (args[first] == "--windows") windows = true;
    else if (args[first] == "--headless") headless = true;
    else break;
  }
  if (first == args.size() || !ChooseDisplay(windows, headless, args[first])) return Usage();
  const std::string& name = args[first];
  if (name == "--help") return Usage(stdout), kDone;
  if (name == "--version") return std::puts("jotbook " JOTBOOK_VERSION), kDone;
  Arguments rest(args.begin() + first + 1, args.end());
  for (const Command& command : kCommands) {
    if (name != command.name) continue;
    if (AsksForHelp(rest)) {
      std::fputs("usage:\n", stdout);
      PrintUsageOf(command, stdout);
      return kDone;
    }
    try {
      return command.run(rest);
    } catch (const std::exception& error) {
      // An error raised while the library's own handler ran, or the host's
      // own (the current folder gone, say).
      std::fprintf(stderr, "jotbook: %s: %s\n", command.name, error.what());
      return kFailed;
    }
  }
  std::fprintf(stderr, "jotbook: unknown command '%s'\n", name.c_str());
  return Usage();
}
