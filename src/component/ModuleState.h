// The library's module-level state: once per thread, shared by every
// JotBook of that thread.
#pragma once

#include <memory>

#include "jotwell/ValueTypes.h"

namespace jotwell {

class frmSplash;

struct ModuleState {
  bool started = false;  // Main has run on this thread
  String INIPath;
  std::unique_ptr<frmSplash> splash;
};

ModuleState& ThisThread();

}  // namespace jotwell
