// The log file as an event write's existence test found it: opened for
// appending, never created, and kept open, so that the free-space query and
// the locked append ask that open file rather than the name again. Closed
// here unless handed on.
#pragma once

#include <optional>
#include <utility>

#include "jotwell/ValueTypes.h"
#include "platform/files.h"

namespace jotwell {

class FoundLog {
 public:
  FoundLog() = default;
  ~FoundLog() { Close(); }
  FoundLog(const FoundLog&) = delete;
  FoundLog& operator=(const FoundLog&) = delete;

  // Opens `path`, closing what an earlier call opened; true when the
  // existence test passes for it.
  bool Open(const String& path);
  // The open file, if the name could be opened for appending.
  std::optional<platform::NativeFile> File() const {
    return found_ ? std::optional(found_->file) : std::nullopt;
  }
  // Hands the open file on, to be closed by the taker.
  std::optional<platform::FoundFile> Release() { return std::exchange(found_, std::nullopt); }

 private:
  // Quietly: nothing was written to the file.
  void Close();

  std::optional<platform::FoundFile> found_;
};

}  // namespace jotwell
