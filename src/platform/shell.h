// The shell group: the user's trash and recent-documents list. Opening a
// document with its default application, sounds and windows belong to the
// Desktop (jotwell/Desktop.h).
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

class Shell {
 public:
  virtual ~Shell() = default;

  // Each answers false on failure, the reason noted (platform/Refusal.h).
  // Moves the file to the trash, restorable, without asking.
  virtual bool MoveToTrash(const String& path) = 0;
  // Adds the document to the recent-documents list.
  virtual bool AddRecentDocument(const String& path) = 0;
};

template <>
Shell& Group<Shell>::Native();

inline Shell& DesktopShell() { return Group<Shell>::Get(); }

}  // namespace jotwell::platform
