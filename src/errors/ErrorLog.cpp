#include "errors/ErrorLog.h"

#include "base/LibraryFacts.h"
#include "base/PathDialect.h"
#include "errors/frmErrMn.h"
#include "platform/files.h"

namespace jotwell {

String ErrorLogPath(const String& libraryFolder) {
  return NativePaths().Join(libraryFolder, String(kLibraryName) + ".ErrorLog.txt");
}

// Logging is best effort: a report that cannot be logged is still shown.
void frmErrMn::WriteErrorLog(const ReportLines& lines) {
  String path;
  try {
    path = ErrorLogPath(LibraryFolder());
  } catch (const std::exception&) {
    return;
  }
  platform::Files().AppendQuietly(path, JoinReportLines(lines));
}

}  // namespace jotwell
