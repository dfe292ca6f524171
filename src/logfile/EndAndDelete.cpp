// Ending and deleting the log.
#include "errors/Trap.h"
#include "base/JotBookPrivate.h"
#include "base/FileNumbers.h"
#include "logfile/LockedLog.h"
#include "base/LibraryBox.h"
#include "logfile/LogLines.h"
#include "platform/files.h"

namespace jotwell {

namespace {
constexpr Procedure kEndLogFileEvents = "JotBook![Sub EndLogFileEvents]";
constexpr Procedure kCloseLogFileEvent = "JotBook![Sub CloseLogFileEvent]";
constexpr Procedure kDeleteLogFile = "JotBook![Sub DeleteLogFile]";

constexpr const char* kNoLogFileName = "Can't delete logfile, no logfile name specified!";
}  // namespace

void JotBook::EndLogFileEvents() {
  RunMember(private_->lastFailure_, kEndLogFileEvents, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { private_->CloseLogFileEvent(); }); });
}

void JotBook::Private::CloseLogFileEvent() {
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
      [&](Trap& trap) {
        trap.Do([&] { date2 = TodayText(); });
        trap.Do([&] { DoesItExist = CheckFileExistance(log_.LogFileName); });
        if (trap.If([&] { return DoesItExist.IsFalse(); })) {
          String notFound = "Unable to close " + log_.LogFileName + ", file not found!";
          NoteFailure(errnum::kFileNotFound, notFound);
          trap.Do([&] { ExclamationSound(); });
          trap.Do([&] { ShowFailureBox({"Device I/O Error!", notFound}); });
          return;
        }
        if (trap.If([&] { return DiskFreeSpace() < log_.MaximumLogFileSize; })) {
          trap.Do([&] { ExclamationSound(); });
          trap.Do([&] { ShowWarningBox({"Free drive space is low!"}); });
        }
        trap.WithLocalBlock(
            [&] {
              LogFileEndDate = EndLine(date2);
              FileNum = ThisThreadFileNumbers().FreeFile();
              // Locked like an event write, so the lines never interleave.
              LockedLog file(FileNum, log_.LogFileName);
              file.Print(LogFileEndDate + kLineEnd);
              file.Close();
            },
            [&](const RuntimeError& error) { LogFileErrorBlock(error); });
      });
}

void JotBook::DeleteLogFile() {
  Long dl = 0;
  RunMember(
      private_->lastFailure_, kDeleteLogFile,
      [&](Registrations& r) {
        r.Variables({{"dl&", dl}});
      },
      [&](Trap& trap) {
        if (trap.If([&] { return private_->log_.LogFileName.empty(); })) {
          NoteFailure(errnum::kInvalidProcedureCall, kNoLogFileName);
          trap.Do([&] { private_->ExclamationSound(); });
          trap.Do([&] { ShowFailureBox({"Device I/O Error!", kNoLogFileName}); });
          return;
        }
        trap.Do([&] {
          dl = Refusable([&] { return platform::Files().EraseFile(private_->log_.LogFileName); });
        });
        if (trap.If([&] { return dl == 0; }))
          trap.Do([&] {
            ShowNoticeBox(
                {"Unable to delete file " + private_->log_.LogFileName + " or file not found!"});
          });
      });
}

}  // namespace jotwell
