// Writing an event to the log.
#include "base/FileNumbers.h"
#include "base/FoundLog.h"
#include "base/JotBookPrivate.h"
#include "base/LibraryBox.h"
#include "errors/Trap.h"
#include "logfile/LockedLog.h"
#include "logfile/LogLines.h"

namespace jotwell {

namespace {
constexpr Procedure kWriteEventToLogFile = "JotBook![Sub WriteEventToLogFile]";
constexpr Procedure kOpenLogFileForEvent = "JotBook![Sub OpenLogFileForEvent]";

// The size limit in force while none has been set.
constexpr Long kDefaultMaximumLogFileSize = 2'000'000;
}  // namespace

void JotBook::WriteEventToLogFile(const String& Data) {
  RunMember(
      private_->lastFailure_, kWriteEventToLogFile,
      [&](Registrations& r) {
        r.Arguments({{"Data", Data}});
      },
      [&](Trap& trap) {
        trap.Do([&] { private_->log_.EventData = Data; });
        trap.Do([&] { private_->OpenLogFileForEvent(); });
      });
}

void JotBook::Private::OpenLogFileForEvent() {
  Integer FileNum = 0;
  String LogFileStartDate;
  Boolean LogFileExists2;
  Boolean DoesItExist;
  String date2;
  // Opened by the existence test, so that the later steps ask the same file.
  FoundLog found;
  RunTraced(
      kOpenLogFileForEvent,
      [&](Registrations& r) {
        r.Variables({{"FileNum", FileNum},
                     {"LogFileStartDate", LogFileStartDate},
                     {"LogFileExists2", LogFileExists2},
                     {"DoesItExist", DoesItExist},
                     {"date2", date2}});
      },
      [&](Trap& trap) {
        trap.Do([&] { date2 = TodayText(); });
        trap.Do([&] { DoesItExist = CheckFileExistance(log_.LogFileName, &found); });
        trap.Do([&] { LogFileExists2 = DoesItExist; });
        if (trap.If([&] { return log_.MaximumLogFileSize == 0; }))
          trap.Do([&] { log_.MaximumLogFileSize = kDefaultMaximumLogFileSize; });
        if (trap.If([&] { return DiskFreeSpace(&found) < log_.MaximumLogFileSize; })) {
          trap.Do([&] { ExclamationSound(); });
          trap.Do([&] { ShowWarningBox({"Free drive space is getting low!"}); });
        }
        trap.WithLocalBlock(
            [&] {
              FileNum = ThisThreadFileNumbers().FreeFile();
              // Other processes and objects may write, restart, delete or
              // create the file at any time, so the restart decision is
              // taken on the locked file: the existence test above may be
              // stale.
              LockedLog file(FileNum, log_.LogFileName, &found);
              LogFileExists2 = !file.IsNew(DoesItExist.IsFalse());
              if (log_.OverwriteLogFile.IsTrue()) LogFileExists2 = False;
              if (LogFileExists2.IsTrue()) {
                // A file too long for a Long is longer than any limit.
                if (file.Length() > INT32_MAX) {
                  LogFileExists2 = False;
                } else {
                  log_.SizeOfCurrentLogFile = static_cast<Long>(file.Length());
                  if (log_.SizeOfCurrentLogFile > log_.MaximumLogFileSize) LogFileExists2 = False;
                }
              }
              if (LogFileExists2.IsTrue()) {
                file.Print(EventLine(date2, log_.EventData) + kLineEnd);
              } else {
                LogFileStartDate = StartLine(date2);
                file.Truncate();
                // One write, so that no reader or writer sees half of it.
                file.Print(LogFileStartDate + kLineEnd + EventLine(date2, log_.EventData) +
                           kLineEnd);
              }
              file.Close();
              RaiseSuccessfulWriteToLogFile();
              log_.OverwriteLogFile = False;
            },
            [&](const RuntimeError& error) { LogFileErrorBlock(error); });
      });
}

}  // namespace jotwell
