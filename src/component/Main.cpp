#include "about/frmSplash.h"
#include "component/ModuleState.h"
#include "errors/Trap.h"
#include "utilities/Module1.h"

namespace jotwell::Module1 {

namespace {
constexpr Procedure kMain = "Module1![Sub Main]";
}

void Main() {
  RunTraced(kMain, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { Sound(); });
    trap.Do([&] {
      ModuleState& state = ThisThread();
      if (!state.splash) state.splash = std::make_unique<frmSplash>();
      state.splash->ShowModal();
    });
  });
}

}  // namespace jotwell::Module1
