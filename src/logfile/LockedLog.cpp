#include "logfile/LockedLog.h"

#include "base/FileNumbers.h"
#include "base/FoundLog.h"
#include "jotwell/RuntimeError.h"
#include "platform/files.h"

namespace jotwell {

namespace {

// Undoes what a failed write put out. Should the cut fail too, the write's
// failure is still the one reported.
void CutBackQuietly(platform::NativeFile file, std::int64_t length) {
  try {
    platform::Files().Truncate(file, length);
  } catch (const RuntimeError&) {
  }
}

}  // namespace

LockedLog::LockedLog(Integer number, const String& path, FoundLog* found)
    : number_(0), created_(false), length_(0), end_(0) {
  FileNumbers& numbers = ThisThreadFileNumbers();
  // A number already in use fails before anything is opened.
  numbers.CheckFree(number);
  platform::LockedFile opened =
      platform::Files().OpenLockedAppend(path, found ? found->Release() : std::nullopt);
  numbers.Bind(number, opened.file);
  number_ = number;
  created_ = opened.created;
  length_ = end_ = opened.length;
}

LockedLog::~LockedLog() {
  if (number_ == 0) return;
  try {
    Close();
  } catch (const std::exception&) {
    // The write has already failed; that failure is the one reported.
  }
}

void LockedLog::Truncate() {
  platform::Files().Truncate(ThisThreadFileNumbers().At(number_), 0);
  end_ = 0;
}

void LockedLog::Print(std::string_view text) {
  platform::NativeFile file = ThisThreadFileNumbers().At(number_);
  try {
    end_ += platform::Files().Write(file, text);
  } catch (const RuntimeError&) {
    CutBackQuietly(file, end_);
    throw;
  }
}

void LockedLog::Close() {
  platform::NativeFile file = ThisThreadFileNumbers().Unbind(number_);
  number_ = 0;
  platform::Files().Close(file);
}

}  // namespace jotwell
