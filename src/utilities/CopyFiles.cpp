// Pattern copies from one folder to another.
#include <vector>

#include "base/JotBookPrivate.h"
#include "base/Module1.h"
#include "errors/Trap.h"
#include "platform/files.h"

namespace jotwell {

namespace {

constexpr Procedure kCopyFiles = "JotBook![Function CopyFiles]";
constexpr Procedure kRgbCopyFiles = "Module1![Function rgbCopyFiles]";

// The search handle as the report shows it. The listing is taken whole
// before the first copy, so that no file the copies create is found, and
// no system handle stays open: the variable tells only whether the search
// found anything.
constexpr Long kInvalidHandle = -1;
constexpr Long kSearchFound = 1;

// Errors in the work end the procedure quietly, its result still 0.
constexpr auto kSilently = [](const RuntimeError&) {};

}  // namespace

Long Module1::rgbCopyFiles(const String& sSourcePath, const String& sDestination,
                           const String& sFiles) {
  Long result = 0;
  Long r = 0;
  Long hFile = 0;
  Long bNext = 0;
  Long copied = 0;
  String currFile;
  RunTraced(
      kRgbCopyFiles,
      [&](Registrations& reg) {
        reg.Arguments({{"sSourcePath", sSourcePath}, {"sDestination", sDestination}, {"sFiles", sFiles}});
        reg.Variables({{"r", r}, {"hFile", hFile}, {"bNext", bNext}, {"copied", copied}, {"currFile", currFile}});
      },
      [&](Trap& trap) {
        trap.WithLocalBlock(
            [&] {
              platform::Files().MakeFolder(sDestination);
              std::vector<String> found = platform::Files().FindFiles(sSourcePath + sFiles);
              hFile = found.empty() ? kInvalidHandle : kSearchFound;
              if (hFile == kInvalidHandle) return;
              for (std::size_t next = 0; next < found.size();) {
                currFile = found[next++];
                Refusable([&] {
                  return platform::Files().CopyOver(sSourcePath + currFile,
                                                    sDestination + currFile);
                });
                copied = copied + 1;
                bNext = next < found.size();
              }
              result = copied;
            },
            kSilently);
      });
  return result;
}

Long JotBook::CopyFiles(const String& Source, const String& Destination, const String& FileSpec) {
  Long result = 0;
  RunMember(
      private_->lastFailure_, kCopyFiles,
      [&](Registrations& r) {
        r.Arguments({{"Source", Source}, {"Destination", Destination}, {"FileSpec", FileSpec}});
      },
      [&](Trap& trap) {
        trap.WithLocalBlock([&] { result = Module1::rgbCopyFiles(Source, Destination, FileSpec); },
                            kSilently);
      });
  return result;
}

}  // namespace jotwell
