#include <gtest/gtest.h>

#include "component/PathDialect.h"

namespace jotwell {
namespace {

TEST(WindowsPaths, CompleteNamesNeedColonAndBackslash) {
  const PathDialect& windows = WindowsPaths();
  EXPECT_EQ(windows.Complete("C:\\logs\\app.log", "F:\\lib"), "C:\\logs\\app.log");
  EXPECT_EQ(windows.Complete("app.log", "F:\\lib"), "F:\\lib\\app.log");
}

}  // namespace
}  // namespace jotwell
