// One write's hold on the log file: opened for appending under an exclusive
// lock as a file number, so that writers in other processes and other
// objects never interleave with it, and closed again within the same call.
#pragma once

#include <cstdint>
#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell {

class FoundLog;

class LockedLog {
 public:
  // Opens `path` as file `number`, creating it when missing; the file
  // `found` holds for `path`, if any, is taken over. Throws RuntimeError.
  LockedLog(Integer number, const String& path, FoundLog* found = nullptr);
  // A hold not closed by Close (a failed write) is closed here, quietly, so
  // no failure leaves the file open.
  ~LockedLog();
  LockedLog(const LockedLog&) = delete;
  LockedLog& operator=(const LockedLog&) = delete;

  // True while nobody has written to the file, when it was missing as this
  // write began (`missingBefore`) or this open created it: it is to be
  // started afresh like a missing file. A file another writer created
  // meanwhile counts as missing too, so whichever writer locks it first
  // writes the start line.
  bool IsNew(bool missingBefore) const { return length_ == 0 && (created_ || missingBefore); }
  // The length when the lock was taken; nobody else writes while we hold it.
  std::int64_t Length() const { return length_; }
  // Cuts the file to length 0.
  void Truncate();
  // Appends `text` in one write. A write that fails part way (a full disk)
  // is undone: the file is cut back to where it ended before, so that it
  // never ends in a torn line.
  void Print(std::string_view text);
  // Closes the file, releasing the lock and the number. Throws RuntimeError.
  void Close();

 private:
  Integer number_;  // 0 once closed
  bool created_;
  std::int64_t length_;
  std::int64_t end_;  // where the file ends now
};

}  // namespace jotwell
