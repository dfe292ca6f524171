#include "about/frmSplash.h"
#include "base/Module1.h"
#include "errors/Trap.h"

namespace jotwell::Module1 {

namespace {
constexpr Procedure kMain = "Module1![Sub Main]";
}

void Main() {
  RunTraced(kMain, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] { Sound(); });
    trap.Do([&] { ThisThreadSplash().ShowModal(); });
  });
}

}  // namespace jotwell::Module1
