// What the subcommands share: paths from the command line, the host's own
// checks, and the exit code after a member call.
#include <cstdio>

#include "Commands.h"

namespace jotbook {

namespace {

std::string WithoutBlanks(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string PathFromCommandLine(const std::string& name) {
  std::string trimmed = WithoutBlanks(name);
  if (trimmed.empty()) return "";  // the library's own "no name" case
  if (PathOf(trimmed).is_absolute()) return name;
  return TextOfPath(std::filesystem::current_path() / PathOf(trimmed));
}

std::filesystem::path PathOf(const std::string& text) {
  return std::u8string(text.begin(), text.end());
}

std::string TextOfPath(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

int Outcome(const Book& book, const char* member, bool failedResult) {
  Book::Failure failure = book.LastFailure();
  if (failure.number != 0)
    std::fprintf(stderr, "jotbook: %s: %ld%s%s\n", member, failure.number,
                 failure.description.empty() ? "" : " ", failure.description.c_str());
  else if (failedResult) std::fprintf(stderr, "jotbook: %s: failed\n", member);
  else return kDone;
  return kFailed;
}

bool Exists(const std::string& path, bool folder) {
  std::error_code error;
  std::filesystem::file_status status = std::filesystem::status(PathOf(WithoutBlanks(path)), error);
  if (folder ? std::filesystem::is_directory(status) : std::filesystem::exists(status)) return true;
  std::fprintf(stderr, "jotbook: %s: %s\n", folder ? "no such folder" : "no such file",
               path.c_str());
  return false;
}

}  // namespace jotbook
