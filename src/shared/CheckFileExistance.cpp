// The existence test every subsystem asks before it touches a file.
#include "base/FoundLog.h"
#include "base/JotBookPrivate.h"
#include "errors/Trap.h"
#include "platform/files.h"

namespace jotwell {

namespace {
constexpr Procedure kCheckFileExistance = "JotBook![Function CheckFileExistance]";

// The existence test's answer when the file cannot be opened.
constexpr Integer kOpenFailed = -1;
}  // namespace

Boolean JotBook::Private::CheckFileExistance(const String& FileNameToCheck, FoundLog* keepOpen) {
  Boolean result;
  Integer Result = 0;
  String strPath, strResults, strSearchFile;
  RunTraced(
      kCheckFileExistance,
      [&](Registrations& r) {
        r.Arguments({{"FileNameToCheck", FileNameToCheck}});
        r.Variables({{"Result", Result},
                     {"strPath", strPath},
                     {"strResults", strResults},
                     {"strSearchFile", strSearchFile}});
      },
      [&](Trap& trap) {
        if (trap.If([&] { return FileNameToCheck.empty(); })) {
          trap.Do([&] { result = False; });
          return;
        }
        trap.Do([&] { strSearchFile = FileNameToCheck; });
        trap.Do([&] {
          bool opens =
              keepOpen ? keepOpen->Open(strSearchFile) : platform::Files().CanOpen(strSearchFile);
          Result = opens ? 0 : kOpenFailed;
        });
        trap.Do([&] { result = Result != kOpenFailed; });
      });
  return result;
}

}  // namespace jotwell
