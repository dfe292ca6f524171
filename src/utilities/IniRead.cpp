// Module1's INI readers.
#include "base/Module1.h"
#include "errors/Trap.h"
#include "platform/ini.h"

namespace jotwell::Module1 {

namespace {
constexpr Procedure kINIRead = "Module1![Function INIRead]";
constexpr Procedure kINIReadINT = "Module1![Function INIReadINT]";
}  // namespace

// The whole value: cutting it to a fixed buffer would change what
// INI_WriteString stored.
String INIRead(const String& appname, const String& keyname, const String& FileName) {
  String KeyValue;
  Long characters = 0;
  RunTraced(
      kINIRead,
      [&](Registrations& r) {
        r.Arguments({{"appname$", appname}, {"keyname$", keyname}, {"FileName$", FileName}});
        r.Variables({{"KeyValue$", KeyValue}, {"characters", characters}});
      },
      [&](Trap& trap) {
        trap.Do([&] { KeyValue = platform::Ini().ReadProfileText(appname, keyname, String(), FileName); });
        trap.Do([&] { characters = static_cast<Long>(KeyValue.size()); });
      });
  return KeyValue;
}

Integer INIReadINT(const String& appname, const String& keyname, const String& FileName) {
  Integer result = 0;
  RunTraced(
      kINIReadINT,
      [&](Registrations& r) {
        r.Arguments({{"appname$", appname}, {"keyname$", keyname}, {"FileName$", FileName}});
      },
      [&](Trap& trap) {
        trap.Do([&] {
          Long value = platform::Ini().ReadProfileNumber(appname, keyname, 0, FileName);
          if (value < INT16_MIN || value > INT16_MAX) throw RuntimeError(errnum::kOverflow);
          result = static_cast<Integer>(value);
        });
      });
  return result;
}

}  // namespace jotwell::Module1
