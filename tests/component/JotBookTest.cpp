#include "jotwell/JotBook.h"
#include "errors/frmErrMn.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

using test::ScriptedDesktopTest;

TEST_F(ScriptedDesktopTest, SmokeFirstObjectShowsAbout) {
  JotBook book;
  EXPECT_EQ(desktop->Shown(testing::ScriptedDesktop::Kind::About).size(), 1u);
  EXPECT_EQ(ErrorManager().CallDepth(), 0u);
}

}  // namespace
}  // namespace jotwell
