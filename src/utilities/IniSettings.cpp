// The INI members. Their reading and writing arrive with the INI engine.
#include "base/ThreadState.h"
#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace jotwell {

namespace {
constexpr Procedure kGetINI_PathToINI = "JotBook![Property Get INI_PathToINI]";
constexpr Procedure kLetINI_PathToINI = "JotBook![Property Let INI_PathToINI]";
constexpr Procedure kINI_WriteString = "JotBook![Function INI_WriteString]";
constexpr Procedure kINI_ReadINT = "JotBook![Function INI_ReadINT]";
constexpr Procedure kINI_ReadString = "JotBook![Function INI_ReadString]";
}  // namespace

String JotBook::INI_PathToINI() {
  String result;
  RunTraced(kGetINI_PathToINI, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { result = ThisThread().INIPath; }); });
  return result;
}

void JotBook::INI_PathToINI(String PathToINI) {
  RunTraced(
      kLetINI_PathToINI, [&](Registrations& r) { r.Arguments({{"PathToINI", PathToINI}}); },
      [&](Trap&) {});
}

Long JotBook::INI_WriteString(const String& SectionName, const String& keyname,
                              const String& WhatToWrite) {
  Long result = 0;
  RunTraced(
      kINI_WriteString,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName},
                     {"keyname$", keyname},
                     {"WhatToWrite$", WhatToWrite}});
      },
      [&](Trap&) {});
  return result;
}

Integer JotBook::INI_ReadINT(const String& SectionName, const String& keyname) {
  Integer result = 0;
  Boolean DoesItExist;
  RunTraced(
      kINI_ReadINT,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName}, {"keyname$", keyname}});
        r.Variables({{"DoesItExist", DoesItExist}});
      },
      [&](Trap&) {});
  return result;
}

String JotBook::INI_ReadString(const String& SectionName, const String& keyname) {
  String result;
  Boolean DoesItExist;
  RunTraced(
      kINI_ReadString,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName}, {"keyname$", keyname}});
        r.Variables({{"DoesItExist", DoesItExist}});
      },
      [&](Trap&) {});
  return result;
}

}  // namespace jotwell
