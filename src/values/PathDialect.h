// How a platform writes paths. The Windows dialect: a name is complete when
// it holds ":" at character 2 or later and "\" at character 3 or later, and
// only "\" separates. The POSIX dialect: a name starting with "/" is
// complete, and "/" separates.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell {

class PathDialect {
 public:
  virtual char Separator() const = 0;
  virtual bool IsComplete(const String& name) const = 0;
  // The root folder: "/", or "C:\" for the Windows dialect.
  virtual String Root() const = 0;

  // A complete name unchanged; otherwise the folder, a separator and the
  // name (a root folder therefore gives a doubled separator).
  String Complete(const String& name, const String& folder) const;
  // The folder part of a file's path, with a trailing separator only for a
  // root; the current folder "." for a bare name.
  String FolderOf(const String& file) const;
  // The folder, a separator unless the folder already ends with one, and
  // the name.
  String Join(const String& folder, const String& name) const;
  // `name` in the folder of `file`: where a file's companions go.
  String Beside(const String& file, const String& name) const;
  // The folder whose volume holds `path`: its folder part (as FolderOf),
  // the root for an empty name, the current folder "." for a bare name.
  // Given a folder it gives the parent, so repeating it walks up to the
  // root or "."; each of those is its own parent.
  String VolumeFolderOf(const String& path) const;

 protected:
  ~PathDialect() = default;
};

const PathDialect& WindowsPaths();
const PathDialect& PosixPaths();
const PathDialect& NativePaths();

// `text` without leading and trailing blanks (U+0020 only).
String TrimBlanks(const String& text);

}  // namespace jotwell
