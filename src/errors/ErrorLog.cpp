#include "errors/ErrorLog.h"

#include "base/LibraryFacts.h"
#include "errors/frmErrMn.h"
#include "platform/component.h"
#include "platform/files.h"
#include "values/PathDialect.h"

namespace jotwell {

String ErrorLogPath(const String& libraryFolder) {
  return NativePaths().Join(libraryFolder, String(kLibraryName) + ".ErrorLog.txt");
}

// Logging is best effort: a report that cannot be logged is still shown.
// Installed under a system prefix the library's folder is not the user's
// to write, so the log then goes to the user's state folder for Jotwell.
void frmErrMn::WriteErrorLog(const ReportLines& lines) {
  String text = JoinReportLines(lines);
  try {
    if (platform::Files().AppendQuietly(ErrorLogPath(LibraryFolder()), text)) return;
  } catch (const std::exception&) {
  }
  try {
    platform::Files().AppendQuietly(
        ErrorLogPath(platform::Component().MakeUserFolder(platform::UserFolder::State)), text);
  } catch (const std::exception&) {
  }
}

}  // namespace jotwell
