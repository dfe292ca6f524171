// The log's settings and state, and the helpers the log procedures share.
#include "base/JotBookPrivate.h"
#include "base/LibraryFacts.h"
#include "base/Module1.h"
#include "errors/Trap.h"
#include "platform/files.h"
#include "values/PathDialect.h"

namespace jotwell {

namespace {
constexpr Procedure kGetLogFileName = "JotBook![Property Get LogFileName]";
constexpr Procedure kLetLogFileName = "JotBook![Property Let LogFileName]";
constexpr Procedure kGetOverwriteLogFile = "JotBook![Property Get OverwriteLogFile]";
constexpr Procedure kLetOverwriteLogFile = "JotBook![Property Let OverwriteLogFile]";
constexpr Procedure kGetMaximumLogFileSize = "JotBook![Property Get MaximumLogFileSize]";
constexpr Procedure kLetMaximumLogFileSize = "JotBook![Property Let MaximumLogFileSize]";
constexpr Procedure kGetSizeOfCurrentLogFile = "JotBook![Property Get SizeOfCurrentLogFile]";
constexpr Procedure kGetDoesLogFileExist = "JotBook![Property Get DoesLogFileExist]";
constexpr Procedure kDetermineLogFileSize = "JotBook![Sub DetermineLogFileSize]";
}  // namespace

String JotBook::LogFileName() {
  String result;
  RunMember(private_->lastFailure_, kGetLogFileName, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { result = private_->log_.LogFileName; }); });
  return result;
}

void JotBook::LogFileName(String NameOfLogFile) {
  RunMember(
      private_->lastFailure_, kLetLogFileName,
      [&](Registrations& r) {
        r.Arguments({{"NameOfLogFile", NameOfLogFile}});
      },
      [&](Trap& trap) {
        trap.Do([&] { NameOfLogFile = TrimBlanks(NameOfLogFile); });
        trap.Do([&] {
          private_->log_.LogFileName = NativePaths().Complete(NameOfLogFile, LibraryFolder());
        });
      });
}

Boolean JotBook::OverwriteLogFile() {
  Boolean result;
  RunMember(private_->lastFailure_, kGetOverwriteLogFile, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { result = private_->log_.OverwriteLogFile; }); });
  return result;
}

void JotBook::OverwriteLogFile(Boolean TrueOrFalse) {
  RunMember(
      private_->lastFailure_, kLetOverwriteLogFile,
      [&](Registrations& r) {
        r.Arguments({{"TrueOrFalse", TrueOrFalse}});
      },
      [&](Trap& trap) { trap.Do([&] { private_->log_.OverwriteLogFile = TrueOrFalse; }); });
}

Long JotBook::MaximumLogFileSize() {
  Long result = 0;
  RunMember(private_->lastFailure_, kGetMaximumLogFileSize, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { result = private_->log_.MaximumLogFileSize; }); });
  return result;
}

void JotBook::MaximumLogFileSize(Long Size) {
  RunMember(
      private_->lastFailure_, kLetMaximumLogFileSize,
      [&](Registrations& r) {
        r.Arguments({{"Size", Size}});
      },
      [&](Trap& trap) { trap.Do([&] { private_->log_.MaximumLogFileSize = Size; }); });
}

Long JotBook::SizeOfCurrentLogFile() {
  Long result = 0;
  RunMember(private_->lastFailure_, kGetSizeOfCurrentLogFile, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { private_->DetermineLogFileSize(); });
    trap.Do([&] { result = private_->log_.SizeOfCurrentLogFile; });
  });
  return result;
}

Boolean JotBook::DoesLogFileExist() {
  Boolean result;
  Boolean DoesItExist;
  RunMember(
      private_->lastFailure_, kGetDoesLogFileExist,
      [&](Registrations& r) {
        r.Variables({{"DoesItExist", DoesItExist}});
      },
      [&](Trap& trap) {
        trap.Do([&] { DoesItExist = private_->CheckFileExistance(private_->log_.LogFileName); });
        trap.Do([&] { result = DoesItExist; });
      });
  return result;
}

void JotBook::Private::DetermineLogFileSize() {
  RunTraced(kDetermineLogFileSize, NoRegistrations, [&](Trap& trap) {
    trap.WithLocalBlock(
        [&] {
          std::int64_t length = platform::Files().Length(log_.LogFileName);
          if (length > INT32_MAX) throw RuntimeError(errnum::kOverflow);
          log_.SizeOfCurrentLogFile = static_cast<Long>(length);
        },
        [&](const RuntimeError&) { log_.SizeOfCurrentLogFile = 0; });
  });
}

}  // namespace jotwell
