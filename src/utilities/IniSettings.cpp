// The INI members: one key at a time of the file the thread's INIPath names.
#include "base/JotBookPrivate.h"
#include "base/LibraryFacts.h"
#include "base/Module1.h"
#include "base/ThreadState.h"
#include "errors/Trap.h"
#include "platform/ini.h"
#include "utilities/Abort.h"
#include "values/PathDialect.h"

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

// The readers' steps before they read: the path is set and names a file;
// otherwise the member aborts. True when the read may go on.
template <class Book>
bool IniFileFound(Trap& trap, Book& book, Boolean& DoesItExist, const char* member) {
  if (trap.If([&] { return ThisThread().INIPath.empty(); }))
    return Abort(trap, book, errnum::kInvalidProcedureCall, NotSet(member)), false;
  trap.Do([&] { DoesItExist = book.CheckFileExistance(ThisThread().INIPath); });
  if (trap.If([&] { return DoesItExist.IsFalse(); }))
    return Abort(trap, book, errnum::kFileNotFound, NotFound(member)), false;
  return true;
}
}  // namespace

String JotBook::INI_PathToINI() {
  String result;
  RunMember(private_->lastFailure_, kGetINI_PathToINI, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { result = ThisThread().INIPath; }); });
  return result;
}

void JotBook::INI_PathToINI(String PathToINI) {
  RunMember(
      private_->lastFailure_, kLetINI_PathToINI,
      [&](Registrations& r) {
        r.Arguments({{"PathToINI", PathToINI}});
      },
      [&](Trap& trap) {
        trap.Do([&] { PathToINI = TrimBlanks(PathToINI); });
        trap.Do([&] { ThisThread().INIPath = NativePaths().Complete(PathToINI, LibraryFolder()); });
      });
}

Long JotBook::INI_WriteString(const String& SectionName, const String& keyname,
                              const String& WhatToWrite) {
  Long result = 0;
  RunMember(
      private_->lastFailure_, kINI_WriteString,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName},
                     {"keyname$", keyname},
                     {"WhatToWrite$", WhatToWrite}});
      },
      [&](Trap& trap) {
        if (trap.If([&] { return ThisThread().INIPath.empty(); }))
          return Abort(trap, *private_, errnum::kInvalidProcedureCall, NotSet("INI_WriteString"));
        trap.Do([&] {
          result = Refusable([&] {
            return platform::Ini().WriteProfileText(SectionName, keyname, WhatToWrite,
                                                    ThisThread().INIPath);
          });
        });
      });
  return result;
}

Integer JotBook::INI_ReadINT(const String& SectionName, const String& keyname) {
  Integer result = 0;
  Boolean DoesItExist;
  RunMember(
      private_->lastFailure_, kINI_ReadINT,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName}, {"keyname$", keyname}});
        r.Variables({{"DoesItExist", DoesItExist}});
      },
      [&](Trap& trap) {
        if (!IniFileFound(trap, *private_, DoesItExist, "INI_ReadINT")) return;
        trap.Do([&] { result = Module1::INIReadINT(SectionName, keyname, ThisThread().INIPath); });
      });
  return result;
}

String JotBook::INI_ReadString(const String& SectionName, const String& keyname) {
  String result;
  Boolean DoesItExist;
  RunMember(
      private_->lastFailure_, kINI_ReadString,
      [&](Registrations& r) {
        r.Arguments({{"SectionName$", SectionName}, {"keyname$", keyname}});
        r.Variables({{"DoesItExist", DoesItExist}});
      },
      [&](Trap& trap) {
        if (!IniFileFound(trap, *private_, DoesItExist, "INI_ReadString")) return;
        trap.Do([&] { result = Module1::INIRead(SectionName, keyname, ThisThread().INIPath); });
      });
  return result;
}

}  // namespace jotwell
