// Writing an event to the log.
#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace jotwell {

namespace {
constexpr Procedure kWriteEventToLogFile = "JotBook![Sub WriteEventToLogFile]";
constexpr Procedure kOpenLogFileForEvent = "JotBook![Sub OpenLogFileForEvent]";
}  // namespace

void JotBook::WriteEventToLogFile(const String& Data) {
  RunTraced(
      kWriteEventToLogFile, [&](Registrations& r) { r.Arguments({{"Data", Data}}); },
      [&](Trap& trap) {
        trap.Do([&] { log_.EventData = Data; });
        trap.Do([&] { OpenLogFileForEvent(); });
      });
}

void JotBook::OpenLogFileForEvent() {
  Integer FileNum = 0;
  String LogFileStartDate;
  Boolean LogFileExists2;
  Boolean DoesItExist;
  String date2;
  RunTraced(
      kOpenLogFileForEvent,
      [&](Registrations& r) {
        r.Variables({{"FileNum", FileNum},
                     {"LogFileStartDate", LogFileStartDate},
                     {"LogFileExists2", LogFileExists2},
                     {"DoesItExist", DoesItExist},
                     {"date2", date2}});
      },
      [&](Trap&) {});
}

}  // namespace jotwell
