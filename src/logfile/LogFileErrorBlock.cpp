// How the log writers report a failure of the log file.
#include "base/JotBookPrivate.h"
#include "base/LibraryBox.h"

namespace jotwell {

namespace {

// The first line for the failures the box names; nullptr for the rest,
// which it shows by number.
const char* NamedFailure(Integer number) {
  switch (number) {
    case errnum::kDeviceIO: return "Device I/O Error!";
    case errnum::kDiskFull: return "Disk is Full!";
    case errnum::kPathFileAccess: return "Path/File Error!";
    default: return nullptr;
  }
}

}  // namespace

void JotBook::Private::LogFileErrorBlock(const RuntimeError& error) {
  if (error.Number() < INT16_MIN || error.Number() > INT16_MAX)
    throw RuntimeError(errnum::kOverflow);
  log_.LastFileError = static_cast<Integer>(error.Number());
  ExclamationSound();
  String firstLine;
  if (const char* named = NamedFailure(log_.LastFileError)) {
    // Sinks get a copy: what they do to it changes nothing here.
    Integer temporary = log_.LastFileError;
    RaiseErrorWritingToLogFile(temporary);
    firstLine = named;
  } else {
    RaiseErrorWritingToLogFile(log_.LastFileError);
    firstLine = "Run Time Error Number " + std::to_string(log_.LastFileError) + " occurred.";
  }
  ShowFailureBox({firstLine, "Unable to open " + log_.LogFileName + " on the local drive."});
}

}  // namespace jotwell
