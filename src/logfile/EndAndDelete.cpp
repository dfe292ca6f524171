// Ending and deleting the log.
#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace jotwell {

namespace {
constexpr Procedure kEndLogFileEvents = "JotBook![Sub EndLogFileEvents]";
constexpr Procedure kCloseLogFileEvent = "JotBook![Sub CloseLogFileEvent]";
constexpr Procedure kDeleteLogFile = "JotBook![Sub DeleteLogFile]";
}  // namespace

void JotBook::EndLogFileEvents() {
  RunTraced(kEndLogFileEvents, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { CloseLogFileEvent(); }); });
}

void JotBook::CloseLogFileEvent() {
  Integer FileNum = 0;
  String LogFileEndDate;
  String date2;
  Boolean DoesItExist;
  RunTraced(
      kCloseLogFileEvent,
      [&](Registrations& r) {
        r.Variables({{"FileNum", FileNum},
                     {"LogFileEndDate", LogFileEndDate},
                     {"date2", date2},
                     {"DoesItExist", DoesItExist}});
      },
      [&](Trap&) {});
}

void JotBook::DeleteLogFile() {
  Long dl = 0;
  RunTraced(
      kDeleteLogFile, [&](Registrations& r) { r.Variables({{"dl&", dl}}); }, [&](Trap&) {});
}

}  // namespace jotwell
