// The desktop's trash and recent-documents list.
#include "base/JotBookPrivate.h"
#include "platform/shell.h"
#include "utilities/Abort.h"
#include "values/PathDialect.h"

namespace jotwell {

namespace {
constexpr Procedure kDeleteToRecycleBin = "JotBook![Function DeleteToRecycleBin]";
constexpr Procedure kAddToRecentDocuments = "JotBook![Sub AddToRecentDocuments]";

// The platform's answer, as the report shows it.
constexpr Long kMoved = 0;
constexpr Long kNotMoved = 1;
}  // namespace

Boolean JotBook::DeleteToRecycleBin(String FileName) {
  Boolean result = False;
  Long RetVal = 0;
  Boolean DoesItExist;
  RunMember(
      private_->lastFailure_, kDeleteToRecycleBin,
      [&](Registrations& r) {
        r.Arguments({{"FileName", FileName}});
        r.Variables({{"RetVal", RetVal}, {"DoesItExist", DoesItExist}});
      },
      [&](Trap& trap) {
        trap.Do([&] { DoesItExist = private_->CheckFileExistance(FileName); });
        if (trap.If([&] { return DoesItExist.IsFalse(); }))
          return Abort(
              trap, *private_, errnum::kFileNotFound,
              "Cannot delete a file that doesn't exist, function DeleteToRecycleBin aborted!");
        trap.Do([&] {
          RetVal = Refusable([&] { return platform::DesktopShell().MoveToTrash(FileName); })
                       ? kMoved
                       : kNotMoved;
        });
        trap.Do([&] { result = RetVal == kMoved; });
      });
  return result;
}

void JotBook::AddToRecentDocuments(String& FilePath) {
  RunMember(
      private_->lastFailure_, kAddToRecentDocuments,
      [&](Registrations& r) {
        r.Arguments({{"FilePath", FilePath}});
      },
      [&](Trap& trap) {
        trap.Do([&] { FilePath = TrimBlanks(FilePath); });
        trap.Do([&] {
          Refusable([&] { return platform::DesktopShell().AddRecentDocument(FilePath); });
        });
      });
}

}  // namespace jotwell
