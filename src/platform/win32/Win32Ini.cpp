#include <windows.h>

#include <optional>
#include <string>

#include "platform/IniText.h"
#include "platform/ini.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::Refuse;
using win32::WideName;

// What the profile reader answers for a missing key: no value holds a line
// end. The reader cuts trailing blanks from the fallback it is given, so the
// caller's fallback is never handed to it.
constexpr std::wstring_view kMissing = L"\n\x01";

// A value the reader would take blanks or a pair of quotes from is written
// within quotes, which the reader takes away again.
String Stored(const String& value) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  bool quoted =
      !value.empty() && (blank(value.front()) || blank(value.back()) ||
                         (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                          value.back() == value.front()));
  return quoted ? '"' + value + '"' : value;
}

// The file complete: the profile functions look for a bare name in the
// Windows folder. Nothing for a name WidePath refuses.
std::optional<std::wstring> ProfileFile(const String& path) {
  try {
    return win32::FullPath(path);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// Why a name or value that would not read back is refused.
RuntimeError WouldNotReadBack() { return RuntimeError(errnum::kInvalidProcedureCall); }

class Win32Ini final : public IniProfile {
 public:
  String ReadProfileText(const String& section, const String& key, const String& fallback,
                         const String& path) override {
    std::optional<std::wstring> sectionName = WideName(section), keyName = WideName(key);
    std::optional<std::wstring> file = ProfileFile(path);
    if (!sectionName || !keyName || !file) return fallback;
    // The reader cuts a value too long for the room to one unit less than
    // the room: then the room grows until the value fits.
    std::wstring value(256, L'\0');
    for (;;) {
      DWORD room = static_cast<DWORD>(value.size());
      DWORD length = GetPrivateProfileStringW(sectionName->c_str(), keyName->c_str(),
                                              kMissing.data(), value.data(), room, file->c_str());
      if (length + 1 < room) {
        value.resize(length);
        return value == kMissing ? fallback : win32::Utf8(value);
      }
      value.resize(value.size() * 2);
    }
  }

  Long ReadProfileNumber(const String& section, const String& key, Long fallback,
                         const String& path) override {
    std::optional<std::wstring> sectionName = WideName(section), keyName = WideName(key);
    std::optional<std::wstring> file = ProfileFile(path);
    if (!sectionName || !keyName || !file) return fallback;
    return static_cast<Long>(
        GetPrivateProfileIntW(sectionName->c_str(), keyName->c_str(), fallback, file->c_str()));
  }

  bool WriteProfileText(const String& section, const String& key, const String& value,
                        const String& path) override {
    std::optional<std::wstring> sectionName = WideName(section), keyName = WideName(key);
    std::optional<std::wstring> text = WideName(Stored(value));
    if (!ini::CanWrite(section, key, value) || !sectionName || !keyName || !text)
      return Refuse(WouldNotReadBack());
    return Changed(path, [&](const wchar_t* file) {
      return WritePrivateProfileStringW(sectionName->c_str(), keyName->c_str(), text->c_str(),
                                        file);
    });
  }

  bool EraseProfileKey(const String& section, const String& key, const String& path) override {
    std::optional<std::wstring> sectionName = WideName(section), keyName = WideName(key);
    if (!sectionName || !keyName) return Refuse(WouldNotReadBack());
    return Changed(path, [&](const wchar_t* file) {
      return WritePrivateProfileStringW(sectionName->c_str(), keyName->c_str(), nullptr, file);
    });
  }

  bool EraseProfileSection(const String& section, const String& path) override {
    std::optional<std::wstring> sectionName = WideName(section);
    if (!sectionName) return Refuse(WouldNotReadBack());
    return Changed(path, [&](const wchar_t* file) {
      return WritePrivateProfileStringW(sectionName->c_str(), nullptr, nullptr, file);
    });
  }

 private:
  // Runs one change of the file, the refusal noted when it fails.
  template <class Change>
  static bool Changed(const String& path, Change change) {
    try {
      return change(win32::FullPath(path).c_str()) || win32::RefuseForLastError();
    } catch (const RuntimeError& refused) {
      return Refuse(refused);
    }
  }
};

}  // namespace

template <>
IniProfile& Group<IniProfile>::Native() {
  static Win32Ini ini;
  return ini;
}

}  // namespace jotwell::platform
