#include "jotwell/RuntimeError.h"
#include "platform/IniText.h"
#include "platform/ini.h"
#include "platform/posix/Errno.h"
#include "platform/posix/LockedEdit.h"
#include "platform/posix/SystemPath.h"

namespace jotwell::platform {
namespace {

using posix::Change;
using posix::EditUnderLock;
using posix::ReadUnderLock;

bool Refused(const String& path) {
  try {
    posix::SystemPath(path);
    return false;
  } catch (const RuntimeError&) {
    return true;
  }
}

// Erasing what the file does not hold changes nothing, and creates no file;
// a file that cannot be read is left to the edit to refuse.
bool Erase(const String& path, const Change& change) {
  if (Refused(path)) return false;
  std::optional<std::string> before = ReadUnderLock(path);
  return (before && change(*before) == *before) || EditUnderLock(path, change, std::nullopt);
}

class PosixIni final : public IniProfile {
 public:
  String ReadProfileText(const String& section, const String& key, const String& fallback,
                         const String& path) override {
    return ini::FindValue(ReadUnderLock(path).value_or(""), section, key).value_or(fallback);
  }

  Long ReadProfileNumber(const String& section, const String& key, Long fallback,
                         const String& path) override {
    return ini::NumberOf(ini::FindValue(ReadUnderLock(path).value_or(""), section, key), fallback);
  }

  bool WriteProfileText(const String& section, const String& key, const String& value,
                        const String& path) override {
    if (!ini::CanWrite(section, key, value))
      return posix::Refuse(RuntimeError(errnum::kInvalidProcedureCall));
    return EditUnderLock(
        path, [&](std::string_view text) { return ini::WithValue(text, section, key, value); },
        0666);
  }

  bool EraseProfileKey(const String& section, const String& key, const String& path) override {
    return Erase(path, [&](std::string_view text) { return ini::WithoutKey(text, section, key); });
  }

  bool EraseProfileSection(const String& section, const String& path) override {
    return Erase(path, [&](std::string_view text) { return ini::WithoutSection(text, section); });
  }
};

}  // namespace

template <>
IniProfile& Group<IniProfile>::Native() {
  static PosixIni ini;
  return ini;
}

}  // namespace jotwell::platform
