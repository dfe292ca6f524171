#include "base/FoundLog.h"

#include "jotwell/RuntimeError.h"

namespace jotwell {

bool FoundLog::Open(const String& path) {
  Close();
  platform::ExistingFile found = platform::Files().OpenExisting(path);
  file_ = found.file;
  return found.canOpen;
}

void FoundLog::Close() {
  if (!file_) return;
  try {
    platform::Files().Close(*Release());
  } catch (const RuntimeError&) {
  }
}

}  // namespace jotwell
