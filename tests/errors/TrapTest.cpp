#include "errors/Trap.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

using test::ScriptedDesktopTest;

TEST_F(ScriptedDesktopTest, SmokeRetryThenSucceeds) {
  constexpr Procedure kProc = "Module1![Function Smoke]";
  int attempts = 0;
  desktop->QueueReportChoice(choice::kRetry);
  RunTraced(kProc, NoRegistrations, [&](Trap& trap) {
    trap.Do([&] {
      if (++attempts == 1) throw RuntimeError(errnum::kDiskFull);
    });
  });
  EXPECT_EQ(attempts, 2);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

}  // namespace
}  // namespace jotwell
