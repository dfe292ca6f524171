// JotBook's private part: the log state, the event sinks, and the
// procedures several subsystems call. shared/ implements those
// (CheckFileExistance, ExclamationSound, DiskFreeSpace), logfile/ the log's
// own procedures, base/ the events. Other subsystems read the log through
// LogFileName() only.
#pragma once

#include <vector>

#include "jotwell/JotBook.h"

namespace jotwell {

class FoundLog;

class JOTWELL_HIDDEN JotBook::Private {
 public:
  const String& LogFileName() const { return log_.LogFileName; }

  // An event write passes `keepOpen`, which keeps the file the test opens
  // for the write's later steps, and then `log` to DiskFreeSpace.
  Boolean CheckFileExistance(const String& FileNameToCheck, FoundLog* keepOpen = nullptr);
  void ExclamationSound();
  Currency DiskFreeSpace(const FoundLog* log = nullptr);

  void Advise(JotBookEvents& sink);
  void Unadvise(JotBookEvents& sink);
  void RaiseSuccessfulWriteToLogFile();
  void RaiseErrorWritingToLogFile(Integer& RunTimeErrorNum);

 private:
  friend class JotBook;

  // The log fields; each property's field has the property's name.
  struct LogFields {
    String EventData;
    String LogFileName;
    Long MaximumLogFileSize = 0;
    Long SizeOfCurrentLogFile = 0;
    Boolean OverwriteLogFile;
    Integer LastFileError = 0;
  };

  void OpenLogFileForEvent();
  void CloseLogFileEvent();
  void DetermineLogFileSize();
  // The local error block of the log writers: reports a file failure by
  // event and message box.
  void LogFileErrorBlock(const RuntimeError& error);

  LogFields log_;
  std::vector<JotBookEvents*> sinks_;
  JotBook::FailureInfo lastFailure_;
};

}  // namespace jotwell
