// The file utilities. Their work arrives with the trash, copy and
// recent-documents services.
#include "errors/Trap.h"
#include "jotwell/JotBook.h"

namespace jotwell {

namespace {
constexpr Procedure kDeleteToRecycleBin = "JotBook![Function DeleteToRecycleBin]";
constexpr Procedure kCopyFiles = "JotBook![Function CopyFiles]";
constexpr Procedure kAddToRecentDocuments = "JotBook![Sub AddToRecentDocuments]";
}  // namespace

Boolean JotBook::DeleteToRecycleBin(String FileName) {
  Boolean result;
  Long RetVal = 0;
  Boolean DoesItExist;
  RunTraced(
      kDeleteToRecycleBin,
      [&](Registrations& r) {
        r.Arguments({{"FileName", FileName}});
        r.Variables({{"RetVal", RetVal}, {"DoesItExist", DoesItExist}});
      },
      [&](Trap&) {});
  return result;
}

Long JotBook::CopyFiles(const String& Source, const String& Destination,
                        const String& FileSpec) {
  Long result = 0;
  RunTraced(
      kCopyFiles,
      [&](Registrations& r) {
        r.Arguments({{"Source", Source}, {"Destination", Destination}, {"FileSpec", FileSpec}});
      },
      [&](Trap&) {});
  return result;
}

void JotBook::AddToRecentDocuments(String& FilePath) {
  RunTraced(
      kAddToRecentDocuments, [&](Registrations& r) { r.Arguments({{"FilePath", FilePath}}); },
      [&](Trap&) {});
}

}  // namespace jotwell
