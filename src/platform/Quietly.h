// For backends whose operations answer their failures with false.
#pragma once

#include "jotwell/RuntimeError.h"

namespace jotwell::platform {

// Runs an operation that answers its failures, a refused name among them,
// with false rather than reporting them.
template <class Operation>
bool Quietly(Operation operation) {
  try {
    return operation();
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace jotwell::platform
