// Paths as system calls take them. A system call reads a path up to its
// first NUL, so a name holding one would silently name another file than
// the one asked for, and an empty name names none: every operation that
// takes a path refuses such a name through SystemPath.
#pragma once

#include <string>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::posix {

// `path` for a system call. Throws RuntimeError, a path/file access error
// (75), for an empty name or one holding NUL.
const char* SystemPath(const String& path);

// A template for mkostemp: a hidden name beside `path`, so that a folder
// listing meanwhile does not show the file in the making, and marked as
// ours: ".NAME.jotwell-XXXXXX", NAME cut short where the whole would exceed
// the longest name a folder takes.
std::string SpareTemplateBeside(const std::string& path);
// A spare name beside `path` from that template that no other live writer
// uses: its letters tell this process and this call apart. One left by a
// dead process may exist already.
std::string SpareNameBeside(const std::string& path);
// Removes the spares of `path` that writers killed before they could
// rename them left behind. Only a writer that holds the file's lock may:
// live writers make their spares only under it. The spares of a name too
// long to keep whole in them stay.
void RemoveSparesBeside(const std::string& path);

}  // namespace jotwell::platform::posix
