// JotBook: the library's one class. An event log, INI settings, file
// utilities and error reporting for a desktop application.
//
// An object is used on the thread that created it. The first object created
// on a thread shows the About window before the constructor returns.
#pragma once

#include <memory>

#include "jotwell/Export.h"
#include "jotwell/RuntimeError.h"  // what a host may catch
#include "jotwell/ValueTypes.h"

namespace jotwell {

// The events a JotBook raises, delivered synchronously to every connected
// sink.
class JOTWELL_EXPORT JotBookEvents {
 public:
  virtual void SuccessfulWriteToLogFile() = 0;
  virtual void ErrorWritingToLogFile(Integer& RunTimeErrorNum) = 0;

 protected:
  ~JotBookEvents() = default;
};

class JOTWELL_EXPORT JotBook {
 public:
  JotBook();
  ~JotBook();
  JotBook(const JotBook&) = delete;
  JotBook& operator=(const JotBook&) = delete;

  // The calling thread's predeclared instance, created on first use.
  static JotBook& Global();

  Boolean DeleteToRecycleBin(String FileName);
  String INI_PathToINI();
  void INI_PathToINI(String PathToINI);
  String StripPath(const String& FullPath);
  Long INI_WriteString(const String& SectionName, const String& keyname,
                       const String& WhatToWrite);
  Integer INI_ReadINT(const String& SectionName, const String& keyname);
  String INI_ReadString(const String& SectionName, const String& keyname);
  void EndLogFileEvents();
  void WriteEventToLogFile(const String& Data);
  void AddToRecentDocuments(String& FilePath);
  Long SizeOfCurrentLogFile();
  Boolean OverwriteLogFile();
  void OverwriteLogFile(Boolean TrueOrFalse);
  Long MaximumLogFileSize();
  void MaximumLogFileSize(Long Size);
  String LogFileName();
  void LogFileName(String NameOfLogFile);
  Boolean DoesLogFileExist();
  void DeleteLogFile();
  Long CopyFiles(const String& Source, const String& Destination, const String& FileSpec);
  Currency DiskFreeSpace();

  void Advise(JotBookEvents& sink);
  void Unadvise(JotBookEvents& sink);

  // The last failure the last member call on this object met, for a C++
  // host, which has no report, box or event to watch: a run-time error the
  // library handled (whatever the user chose), a precondition the member
  // refused with its error box (5 when a path is not set, 53 for a missing
  // file), or a refusal of the system the member returned as its result or
  // passed over (an INI write into a missing folder is 76; a copy refused
  // inside CopyFiles gives its number, though it is still counted). Number
  // 0 and an empty description when the call met none. Failures while the
  // first object of a thread starts up belong to no call. Like every
  // member, not for concurrent calls on one object.
  struct FailureInfo {
    Long Number = 0;
    String Description;
  };
  FailureInfo LastFailure() const;

 private:
  struct WithoutStartUp {};
  explicit JotBook(WithoutStartUp);

  class Private;
  std::unique_ptr<Private> private_;
};

}  // namespace jotwell
