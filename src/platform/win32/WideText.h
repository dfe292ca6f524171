// Text at the system boundary: the library's UTF-8 becomes UTF-16 for the
// wide functions, which take every name, and the ANSI code page for the
// files Windows keeps in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::win32 {

// Bytes that are no UTF-8 become U+FFFD.
std::wstring Wide(const String& utf8);
// Lone surrogates become U+FFFD.
String Utf8(std::wstring_view wide);

// A name for a function that reads it up to its first NUL; nothing for one
// it would read as another: holding NUL, or bytes that are no UTF-8 (which
// would be read as U+FFFD).
std::optional<std::wstring> WideName(const String& utf8);
// `path` for a wide function. Throws RuntimeError, a path/file access error
// (75), for an empty name or one WideName refuses.
std::wstring WidePath(const String& path);
// WidePath completed from the current folder, for the functions that would
// look for a bare name elsewhere (the profile functions in the Windows
// folder) or that want a complete name (the shell's).
std::wstring FullPath(const String& path);
// WidePath for the file functions: as given, or complete with the "\\?\"
// prefix when too long for the plain form, so that no length is refused
// that the file system takes.
std::wstring FilePath(const String& path);

// `utf8` for a window or control: NUL, which would end the text there,
// reads as U+FFFD like the bytes that are no UTF-8.
std::wstring ControlText(const String& utf8);

// The text in the ANSI code page, the system's default character standing
// for each character the code page cannot hold.
std::string AnsiText(const String& utf8);

}  // namespace jotwell::platform::win32
