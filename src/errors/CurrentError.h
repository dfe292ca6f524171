// The thread's record of the last run-time error, filled by the error trap
// before a handler runs.
#pragma once

#include <exception>

#include "jotwell/RuntimeError.h"

namespace jotwell {

struct ErrorRecord {
  Long Number = 0;
  String Description;
  String Source;
  Long LastDllError = 0;
  Long Line = 0;
};

ErrorRecord& CurrentError();

// The run-time error a caught exception stands for: out of memory (7),
// subscript out of range (9), overflow (6), or internal error (51).
RuntimeError AsRuntimeError(const std::exception& caught);

// Makes `error` the thread's current error, and the last failure of the
// member call running.
void RecordCurrentError(const RuntimeError& error);

}  // namespace jotwell
