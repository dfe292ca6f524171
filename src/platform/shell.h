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

  // Moves the file to the trash, restorable, without asking; false on failure.
  virtual bool MoveToTrash(const String& path) = 0;
  // Adds the document to the recent-documents list; failures go unnoticed.
  virtual void AddRecentDocument(const String& path) = 0;
};

template <>
Shell& Group<Shell>::Native();

// Forwards every operation to `target`, the native implementation unless
// told otherwise: a test that replaces the group overrides only what it
// changes.
class ForwardingShell : public Shell {
 public:
  explicit ForwardingShell(Shell& target = Group<Shell>::Native()) : target_(target) {}

  bool MoveToTrash(const String& path) override { return target_.MoveToTrash(path); }
  void AddRecentDocument(const String& path) override { target_.AddRecentDocument(path); }

 private:
  Shell& target_;
};

inline Shell& DesktopShell() { return Group<Shell>::Get(); }

}  // namespace jotwell::platform
