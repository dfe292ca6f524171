#include "platform/win32/WideText.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/win32/SystemError.h"

namespace jotwell::platform::win32 {
namespace {

// Plain names longer than this fail in some file functions: a folder's name
// must leave room for an 8.3 name in it.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12;

// A length the conversion functions take.
int CountOf(std::size_t length) {
  if (length > INT_MAX) throw RuntimeError(errnum::kOutOfMemory);
  return static_cast<int>(length);
}

// The text in UTF-16; nothing when `flags` refuse it.
std::optional<std::wstring> Utf16(const String& utf8, DWORD flags) {
  std::wstring wide(utf8.size(), L'\0');  // never more units than bytes
  int length = MultiByteToWideChar(CP_UTF8, flags, utf8.data(), CountOf(utf8.size()), wide.data(),
                                   CountOf(wide.size()));
  if (length == 0 && !utf8.empty()) return std::nullopt;
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

std::string ToCodePage(UINT codePage, DWORD flags, std::wstring_view wide) {
  std::string text;
  if (wide.empty()) return text;
  const int count = CountOf(wide.size());
  int length =
      WideCharToMultiByte(codePage, flags, wide.data(), count, nullptr, 0, nullptr, nullptr);
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length));
    length = WideCharToMultiByte(codePage, flags, wide.data(), count, text.data(), length, nullptr,
                                 nullptr);
  }
  if (length == 0) throw LastSystemError();
  return text;
}

// `name` completed from the current folder.
std::wstring Completed(const std::wstring& name) {
  std::wstring full(MAX_PATH, L'\0');
  // Asked again when the current folder grows meanwhile.
  for (;;) {
    DWORD length =
        GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) throw LastSystemError();
    const bool fits = length < full.size();
    full.resize(length);
    if (fits) return full;
  }
}

bool StartsWith(const std::wstring& text, std::wstring_view prefix) {
  return std::wstring_view(text).substr(0, prefix.size()) == prefix;
}

}  // namespace

std::wstring Wide(const String& utf8) {
  std::optional<std::wstring> wide = Utf16(utf8, 0);
  if (!wide) throw LastSystemError();
  return *wide;
}

std::wstring ControlText(const String& utf8) {
  std::wstring wide = Wide(utf8);
  std::replace(wide.begin(), wide.end(), L'\0', L'\xFFFD');
  return wide;
}

String Utf8(std::wstring_view wide) { return ToCodePage(CP_UTF8, 0, wide); }

std::optional<std::wstring> WideName(const String& utf8) {
  if (utf8.find('\0') != String::npos) return std::nullopt;
  return Utf16(utf8, MB_ERR_INVALID_CHARS);
}

std::wstring WidePath(const String& path) {
  std::optional<std::wstring> name = path.empty() ? std::nullopt : WideName(path);
  if (!name) throw RuntimeError(errnum::kPathFileAccess);
  return *name;
}

std::wstring FullPath(const String& path) { return Completed(WidePath(path)); }

std::wstring FilePath(const String& path) {
  std::wstring name = WidePath(path);
  std::wstring full;
  try {
    full = Completed(name);
  } catch (const RuntimeError&) {
    return name;  // the system says why when it is used
  }
  // Devices and names already verbatim take no prefix.
  if (full.size() < kLongestPlainPath || StartsWith(full, L"\\\\.\\") ||
      StartsWith(full, L"\\\\?\\"))
    return name;
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

// Best-fit mappings would write another character ("8" for the infinity
// sign); a code page of UTF-8 takes no flags.
std::string AnsiText(const String& utf8) {
  const UINT codePage = GetACP();
  return ToCodePage(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, Wide(utf8));
}

}  // namespace jotwell::platform::win32
