#include "base/FoundLog.h"

#include "jotwell/RuntimeError.h"

namespace jotwell {

bool FoundLog::Open(const String& path) {
  Close();
  platform::ExistingFile found = platform::Files().OpenExisting(path);
  found_ = found.found;
  return found.canOpen;
}

void FoundLog::Close() {
  if (!found_) return;
  try {
    platform::Files().Close(Release()->file);
  } catch (const RuntimeError&) {
  }
}

}  // namespace jotwell
