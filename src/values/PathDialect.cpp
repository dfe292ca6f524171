#include "values/PathDialect.h"

namespace jotwell {
namespace {

class Windows final : public PathDialect {
 public:
  char Separator() const override { return '\\'; }
  String Root() const override { return "C:\\"; }
  bool IsComplete(const String& name) const override {
    // Positions count from 1: ":" at 2 or later is index 1 or later.
    size_t colon = name.find(':', 1);
    return colon != String::npos && name.find('\\', 2) != String::npos;
  }
};

class Posix final : public PathDialect {
 public:
  char Separator() const override { return '/'; }
  String Root() const override { return "/"; }
  bool IsComplete(const String& name) const override { return !name.empty() && name[0] == '/'; }
};

}  // namespace

String PathDialect::Complete(const String& name, const String& folder) const {
  if (IsComplete(name)) return name;
  return folder + Separator() + name;
}

String PathDialect::FolderOf(const String& file) const {
  size_t last = file.rfind(Separator());
  if (last == String::npos) return ".";
  String folder = file.substr(0, last);
  // A root keeps its separator: "/" or "D:\".
  if (folder.empty() || (Separator() == '\\' && folder.size() == 2 && folder[1] == ':'))
    folder += Separator();
  return folder;
}

String PathDialect::Join(const String& folder, const String& name) const {
  if (!folder.empty() && folder.back() == Separator()) return folder + name;
  return folder + Separator() + name;
}

String PathDialect::Beside(const String& file, const String& name) const {
  return Join(FolderOf(file), name);
}

String PathDialect::VolumeFolderOf(const String& path) const {
  if (path.empty()) return Root();
  if (path.find(Separator()) == String::npos) return ".";
  return FolderOf(path);
}

const PathDialect& WindowsPaths() {
  static const Windows dialect;
  return dialect;
}

const PathDialect& PosixPaths() {
  static const Posix dialect;
  return dialect;
}

const PathDialect& NativePaths() {
#ifdef _WIN32
  return WindowsPaths();
#else
  return PosixPaths();
#endif
}

String TrimBlanks(const String& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == String::npos) return String();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace jotwell
