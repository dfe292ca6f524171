// On Windows argv holds the arguments in the ANSI code page, which may lack
// a name's characters: they come from the system's UTF-16 copy instead, and
// a console shows what the host prints as UTF-8.
#include "Commands.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "Utf16.h"
#endif

namespace jotbook {

#ifdef _WIN32

namespace {

// For the program's run only: the console outlives it.
struct Utf8Console {
  Utf8Console() {
    if (before != 0) SetConsoleOutputCP(CP_UTF8);
  }
  ~Utf8Console() {
    if (before != 0) SetConsoleOutputCP(before);
  }
  UINT before = GetConsoleOutputCP();
};

}  // namespace

Arguments ProgramArguments(int argc, char** argv) {
  static Utf8Console console;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return Arguments(argv + 1, argv + argc);
  Arguments args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return args;
}

#else

Arguments ProgramArguments(int argc, char** argv) { return Arguments(argv + 1, argv + argc); }

#endif

}  // namespace jotbook
