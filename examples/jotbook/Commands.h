// The subcommands of the jotbook example host. Each returns the process's
// exit code: 0 done, 1 a failure (said in one line on standard error), 2 a
// usage error.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "jotwell/JotBook.h"

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

int Usage();
// Prints the usage to `out`; returns the usage error code.
int Usage(std::FILE* out);

// Counts the events a JotBook raises.
class EventCounter : public jotwell::JotBookEvents {
 public:
  void SuccessfulWriteToLogFile() override { ++successes; }
  void ErrorWritingToLogFile(jotwell::Integer& RunTimeErrorNum) override {
    ++errors;
    lastError = RunTimeErrorNum;
  }

  int successes = 0;
  int errors = 0;
  jotwell::Integer lastError = 0;
};

// A file or folder name from the command line: a name whose text starts
// with / once blanks are trimmed is passed as given (the library trims
// it); any other is trimmed and taken from the current folder, as a shell
// user expects (the library itself would put it beside the library). A
// trailing separator stays; a blank name stays empty.
std::string PathFromCommandLine(const std::string& name);

// The exit code after calling `member` on `book`: kFailed, said in one line
// on standard error, when the member returned its failure result
// (`failedResult`: a False, a 0, an event) or its call met a failure.
int Outcome(const jotwell::JotBook& book, const char* member, bool failedResult = false);

// The host's own check that what a command works on is there (blanks
// around the path aside); false, said on standard error, when it is not.
bool Exists(const std::string& path, bool folder = false);

}  // namespace jotbook
