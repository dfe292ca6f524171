// The subcommands of the jotbook example host. Each returns the process's
// exit code: 0 done, 1 a failure (said in one line on standard error), 2 a
// usage error.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Book.h"

namespace jotbook {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

using Arguments = std::vector<std::string>;

int Demo(const Arguments& args);
int Log(const Arguments& args);
int EndLog(const Arguments& args);
int DeleteLog(const Arguments& args);
int FreeSpace(const Arguments& args);
int LogSize(const Arguments& args);
int Ini(const Arguments& args);
int StripPath(const Arguments& args);
int Trash(const Arguments& args);
int Copy(const Arguments& args);
int Recent(const Arguments& args);
int Register(const Arguments& args);
int Unregister(const Arguments& args);
int Call(const Arguments& args);

// The arguments after the program's name, in UTF-8 like every text the
// host handles.
Arguments ProgramArguments(int argc, char** argv);

int Usage();
// Prints the usage to `out`; returns the usage error code.
int Usage(std::FILE* out);

// A file or folder name from the command line: an absolute name (on Linux,
// one whose text starts with / once blanks are trimmed) is passed as given
// (the library trims it); any other is trimmed and taken from the current
// folder, as a shell user expects (the library itself would put it beside
// the library). A trailing separator stays; a blank name stays empty.
std::string PathFromCommandLine(const std::string& name);
// The UTF-8 text of the command line as a path, and back: on Windows a
// path's own narrow text is in the ANSI code page, which may lack a name's
// characters.
std::filesystem::path PathOf(const std::string& text);
std::string TextOfPath(const std::filesystem::path& path);

// The exit code after calling `member` on `book`: kFailed, said in one line
// on standard error, when the member returned its failure result
// (`failedResult`: a False, a 0, an event) or its call met a failure.
int Outcome(const Book& book, const char* member, bool failedResult = false);

// The host's own check that what a command works on is there (blanks
// around the path aside); false, said on standard error, when it is not.
bool Exists(const std::string& path, bool folder = false);

}  // namespace jotbook
