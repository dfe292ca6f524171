// The library's module-level state that is not a subsystem's own: once per
// thread, shared by every JotBook of that thread.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell {

struct ThreadState {
  bool started = false;  // Main has run on this thread
  String INIPath;
};

ThreadState& ThisThread();

}  // namespace jotwell
