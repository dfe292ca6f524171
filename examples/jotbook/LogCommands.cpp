// The log subcommands: one per JotBook log member.
#include <charconv>
#include <cstdio>
#include <optional>

#include "Commands.h"

namespace jotbook {

namespace {

using Long = std::int32_t;

struct Options {
  std::optional<std::string> file;
  std::optional<Long> max;
  bool overwrite = false;
  std::vector<std::string> words;
};

enum Allowed { kFileOnly, kLogOptions };

std::optional<Long> ParseLong(const std::string& text) {
  Long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// Parses "--file F", and for `log` also "--max BYTES", "--overwrite" and the
// words of the text ("--" ends the options). Prints the problem and returns
// nothing on a usage error.
std::optional<Options> Parse(const Arguments& args, Allowed allowed) {
  Options options;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool hasValue = i + 1 < args.size();
    if (optionsEnded || arg.rfind("--", 0) != 0) {
      if (allowed != kLogOptions) {
        std::fprintf(stderr, "jotbook: unexpected argument '%s'\n", arg.c_str());
        return std::nullopt;
      }
      options.words.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--file" && hasValue) {
      options.file = args[++i];
    } else if (arg == "--max" && hasValue && allowed == kLogOptions) {
      options.max = ParseLong(args[++i]);
      if (!options.max) {
        std::fprintf(stderr, "jotbook: --max wants a 32-bit whole number, not '%s'\n",
                     args[i].c_str());
        return std::nullopt;
      }
    } else if (arg == "--overwrite" && allowed == kLogOptions) {
      options.overwrite = true;
    } else {
      std::fprintf(stderr, "jotbook: unknown option or missing value: '%s'\n", arg.c_str());
      return std::nullopt;
    }
  }
  if (!options.file) {
    std::fputs("jotbook: --file is required\n", stderr);
    return std::nullopt;
  }
  return options;
}

std::unique_ptr<Book> BookOfLog(const Options& options) {
  std::unique_ptr<Book> book = OpenBook();
  book->LogFileName(PathFromCommandLine(*options.file));
  return book;
}

}  // namespace

int Log(const Arguments& args) {
  std::optional<Options> options = Parse(args, kLogOptions);
  if (!options) return Usage();
  std::string text;
  for (const std::string& word : options->words) text += (text.empty() ? "" : " ") + word;

  std::unique_ptr<Book> book = BookOfLog(*options);
  if (options->max) book->MaximumLogFileSize(*options->max);
  if (options->overwrite) book->RequestOverwrite();
  book->WriteEventToLogFile(text);
  const Book::Events& events = book->RaisedEvents();
  return Outcome(*book, "WriteEventToLogFile", events.errors > 0 || events.successes == 0);
}

int EndLog(const Arguments& args) {
  std::optional<Options> options = Parse(args, kFileOnly);
  if (!options) return Usage();
  std::unique_ptr<Book> book = BookOfLog(*options);
  book->EndLogFileEvents();
  return Outcome(*book, "EndLogFileEvents", book->RaisedEvents().errors > 0);
}

int DeleteLog(const Arguments& args) {
  std::optional<Options> options = Parse(args, kFileOnly);
  if (!options) return Usage();
  std::unique_ptr<Book> book = BookOfLog(*options);
  book->DeleteLogFile();
  return Outcome(*book, "DeleteLogFile");
}

int FreeSpace(const Arguments& args) {
  std::optional<Options> options = Parse(args, kFileOnly);
  if (!options) return Usage();
  std::unique_ptr<Book> book = BookOfLog(*options);
  std::printf("%lld\n", static_cast<long long>(book->DiskFreeSpace()));
  return Outcome(*book, "DiskFreeSpace");
}

int LogSize(const Arguments& args) {
  std::optional<Options> options = Parse(args, kFileOnly);
  if (!options) return Usage();
  std::unique_ptr<Book> book = BookOfLog(*options);
  std::printf("%d\n", static_cast<int>(book->SizeOfCurrentLogFile()));
  return Outcome(*book, "SizeOfCurrentLogFile");
}

}  // namespace jotbook
