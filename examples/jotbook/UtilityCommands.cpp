// The settings and file-utility subcommands.
#include <cstdio>

#include "Commands.h"

namespace jotbook {

namespace {

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
  std::unique_ptr<Book> book = OpenBook();
  book->INI_PathToINI(request->file);
  if (request->action == "set")
    return Outcome(*book, "INI_WriteString",
                   book->INI_WriteString(request->section, request->key, request->value) == 0);
  if (request->action == "get-int") {
    std::printf("%d\n", book->INI_ReadINT(request->section, request->key));
    return Outcome(*book, "INI_ReadINT");
  }
  std::printf("%s\n", book->INI_ReadString(request->section, request->key).c_str());
  return Outcome(*book, "INI_ReadString");
}

int StripPath(const Arguments& args) {
  if (args.size() != 1) return Usage();
  std::unique_ptr<Book> book = OpenBook();
  std::string name = book->StripPath(PathFromCommandLine(args[0]));
  if (!name.empty()) std::printf("%s\n", name.c_str());
  return Outcome(*book, "StripPath", name.empty());
}

int Trash(const Arguments& args) {
  if (args.size() != 1) return Usage();
  std::string path = PathFromCommandLine(args[0]);
  if (!Exists(path)) return kFailed;
  std::unique_ptr<Book> book = OpenBook();
  return Outcome(*book, "DeleteToRecycleBin", !book->DeleteToRecycleBin(path));
}

// The folders are prefixes: "out/" copies into out, "out" names the copies
// "out" + name.
int Copy(const Arguments& args) {
  if (args.size() != 3) return Usage();
  std::string source = PathFromCommandLine(args[0]);
  if (!Exists(TextOfPath(PathOf(source).parent_path()), true)) return kFailed;
  std::unique_ptr<Book> book = OpenBook();
  std::printf("%d\n",
              static_cast<int>(book->CopyFiles(source, PathFromCommandLine(args[1]), args[2])));
  return Outcome(*book, "CopyFiles");
}

int Recent(const Arguments& args) {
  if (args.size() != 1) return Usage();
  std::string path = PathFromCommandLine(args[0]);
  if (!Exists(path)) return kFailed;
  std::unique_ptr<Book> book = OpenBook();
  book->AddToRecentDocuments(path);
  return Outcome(*book, "AddToRecentDocuments");
}

}  // namespace jotbook
