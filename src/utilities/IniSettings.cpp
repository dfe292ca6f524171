// The INI members: one key at a time of the file the thread's INIPath names.
#include "base/JotBookPrivate.h"
#include "base/LibraryBox.h"
#include "base/LibraryFacts.h"
#include "base/Module1.h"
#include "base/PathDialect.h"
#include "base/ThreadState.h"
#include "errors/Trap.h"
#include "platform/ini.h"

namespace jotwell {

namespace {
constexpr Procedure kGetINI_PathToINI = "JotBook![Property Get INI_PathToINI]";
constexpr Procedure kLetINI_PathToINI = "JotBook![Property Let INI_PathToINI]";
constexpr Procedure kINI_WriteString = "JotBook![Function INI_WriteString]";
constexpr Procedure kINI_ReadINT = "JotBook![Function INI_ReadINT]";
constexpr Procedure kINI_ReadString = "JotBook![Function INI_ReadString]";

String NotSet(const char* member) { return String("INI_Path property not set, function ") + member + " aborted!"; }
String NotFound(const char* member) {
  return "File " + ThisThread().INIPath + " not found, function " + member + " aborted!";
}
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
      [&](Trap& trap) {
        trap.Do([&] { PathToINI = TrimBlanks(PathToINI); });
        trap.Do([&] { ThisThread().INIPath = NativePaths().Complete(PathToINI, LibraryFolder()); });
      });
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
      [&](Trap& trap) {
        if (trap.If([&] { return ThisThread().INIPath.empty(); })) {
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowErrorBox({NotSet("INI_WriteString")}); });
          return;
        }
        trap.Do([&] {
          result = platform::Ini().WriteProfileText(SectionName, keyname, WhatToWrite, ThisThread().INIPath);
        });
      });
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
      [&](Trap& trap) {
        if (trap.If([&] { return ThisThread().INIPath.empty(); })) {
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowErrorBox({NotSet("INI_ReadINT")}); });
          return;
        }
        trap.Do([&] { DoesItExist = private_->CheckFileExistance(ThisThread().INIPath); });
        if (trap.If([&] { return DoesItExist.IsFalse(); })) {
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowErrorBox({NotFound("INI_ReadINT")}); });
          return;
        }
        trap.Do([&] {
          String section = SectionName, key = keyname, file = ThisThread().INIPath;
          result = Module1::INIReadINT(section, key, file);
        });
      });
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
      [&](Trap& trap) {
        if (trap.If([&] { return ThisThread().INIPath.empty(); })) {
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowErrorBox({NotSet("INI_ReadString")}); });
          return;
        }
        trap.Do([&] { DoesItExist = private_->CheckFileExistance(ThisThread().INIPath); });
        if (trap.If([&] { return DoesItExist.IsFalse(); })) {
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowErrorBox({NotFound("INI_ReadString")}); });
          return;
        }
        trap.Do([&] {
          String section = SectionName, key = keyname, file = ThisThread().INIPath;
          result = Module1::INIRead(section, key, file);
        });
      });
  return result;
}

}  // namespace jotwell
