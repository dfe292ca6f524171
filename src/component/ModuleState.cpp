#include "component/ModuleState.h"

#include "about/frmSplash.h"

namespace jotwell {

ModuleState& ThisThread() {
  thread_local ModuleState state;
  return state;
}

}  // namespace jotwell
