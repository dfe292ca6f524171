// The settings and file-utility subcommands.
#include <cstdio>
#include <filesystem>

#include "Commands.h"

namespace jotbook {

namespace {

using jotwell::JotBook;

// "ini get --ini F SECTION KEY", "ini get-int --ini F SECTION KEY" and
// "ini set --ini F SECTION KEY VALUE".
struct IniRequest {
  std::string action, file, section, key, value;
};

std::optional<IniRequest> ParseIni(const Arguments& args) {
  if (args.size() < 5 || args[1] != "--ini") return std::nullopt;
  IniRequest request{args[0], PathFromCommandLine(args[2]), args[3], args[4], ""};
  bool reading = request.action == "get" || request.action == "get-int";
  if (reading && args.size() == 5) return request;
  if (request.action == "set" && args.size() == 6) return request.value = args[5], request;
  return std::nullopt;
}

}  // namespace

int Ini(const Arguments& args) {
  std::optional<IniRequest> request = ParseIni(args);
  if (!request) return Usage();
  JotBook book;
  book.INI_PathToINI(request->file);
  if (request->action == "set") return book.INI_WriteString(request->section, request->key, request->value) ? kDone : kFailed;
  // A missing file gets only the library's box.
  bool exists = std::filesystem::is_regular_file(request->file);
  if (request->action == "get-int")
    std::printf("%d\n", book.INI_ReadINT(request->section, request->key));
  else
    std::printf("%s\n", book.INI_ReadString(request->section, request->key).c_str());
  return exists ? kDone : kFailed;
}

int StripPath(const Arguments& args) {
  if (args.size() != 1) return Usage();
  JotBook book;
  std::string name = book.StripPath(PathFromCommandLine(args[0]));
  if (name.empty()) return kFailed;
  std::printf("%s\n", name.c_str());
  return kDone;
}

int Trash(const Arguments& args) {
  if (args.size() != 1) return Usage();
  JotBook book;
  return book.DeleteToRecycleBin(PathFromCommandLine(args[0])) == jotwell::True ? kDone : kFailed;
}

// The folders are prefixes: "out/" copies into out, "out" names the copies
// "out" + name.
int Copy(const Arguments& args) {
  if (args.size() != 3) return Usage();
  JotBook book;
  std::printf("%d\n", book.CopyFiles(PathFromCommandLine(args[0]), PathFromCommandLine(args[1]), args[2]));
  return kDone;
}

int Recent(const Arguments& args) {
  if (args.size() != 1) return Usage();
  JotBook book;
  std::string path = PathFromCommandLine(args[0]);
  book.AddToRecentDocuments(path);
  return kDone;
}

}  // namespace jotbook
