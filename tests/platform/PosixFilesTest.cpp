// The files backend's own promises, beyond what the event log shows.
#include "platform/files.h"
#include "platform/posix/LockedAppend.h"
#include "support/Children.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

platform::FileSystem& Files() { return platform::Group<platform::FileSystem>::Native(); }

// The system would cut each name at the NUL and reach `cut`. What the event
// log meets (opening, appending, erasing) its own tests check.
TEST(PosixFiles, EveryPathOperationRefusesANameHoldingNul) {
  test::TempDir dir;
  const std::string cut = dir.File("log"), name = cut + std::string("\0x", 2);
  Files().AppendQuietly(name, "x");
  EXPECT_FALSE(std::filesystem::exists(cut));
  EXPECT_THAT([&] { Files().Length(name); }, test::FailsWith(errnum::kPathFileAccess));
  EXPECT_THAT([&] { Files().OpenLockedAppend(dir.File("new") + '\0'); },
              test::FailsWith(errnum::kPathFileAccess));
  EXPECT_THAT([&] { Files().FreeBytes(dir.path().string() + '\0'); }, test::FailsWith(errnum::kPathFileAccess));
  EXPECT_FALSE(std::filesystem::exists(dir.File("new")));
}

// A missing log is made under a spare name that carries the process, so a
// forked child must not keep its parent's.
TEST(PosixFiles, AForkedChildNamesItsSpareFilesForItself) {
  auto ofThisProcess = [] {
    std::string spare = platform::posix::SpareNameBeside("/var/log/app.log");
    return spare.substr(0, spare.rfind('-'));
  };
  const std::string parent = ofThisProcess();
  EXPECT_EQ(parent.rfind("/var/log/.jotwell-new-", 0), 0u) << parent;
  EXPECT_NE(test::InChild(ofThisProcess), parent);
  EXPECT_EQ(ofThisProcess(), parent);
}

}  // namespace
}  // namespace jotwell
