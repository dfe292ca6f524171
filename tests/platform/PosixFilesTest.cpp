// The files backend's own promises, beyond what the event log shows.
#include <limits.h>

#include "platform/files.h"
#include "platform/posix/LockedAppend.h"
#include "support/Children.h"
#include "support/FileFacts.h"
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
  EXPECT_THAT([&] { Files().OpenLockedAppend(dir.File("new") + '\0', std::nullopt); },
              test::FailsWith(errnum::kPathFileAccess));
  EXPECT_THAT([&] { Files().FreeBytes(dir.path().string() + '\0'); }, test::FailsWith(errnum::kPathFileAccess));
  EXPECT_FALSE(std::filesystem::exists(dir.File("new")));
}

// A missing log is made under a spare name marked as ours, which a forked
// child must not share with its parent, and which a long name still leaves
// within the longest a folder takes.
TEST(PosixFiles, SpareNamesAreMarkedAndAForkedChildNamesItsOwn) {
  auto spare = [] { return platform::posix::SpareNameBeside("/var/log/app.log"); };
  const std::string child = test::InChild(spare), parent = spare();  // the same serial
  EXPECT_THAT(parent, ::testing::MatchesRegex("/var/log/\\.app\\.log\\.jotwell-[0-9A-Za-z]{6}"));
  EXPECT_NE(child, parent);
  EXPECT_NE(spare(), parent);
  EXPECT_EQ(platform::posix::SpareNameBeside("/d/" + std::string(250, 'n')).size(), 3u + NAME_MAX);
}

// A creator killed before it removed its spare left it empty, or as a second
// name of the log: the next writer that makes the log, or finds it with a
// second name, removes it.
TEST(PosixFiles, TheLockedAppendRemovesSparesOfKilledCreators) {
  test::TempDir dir;
  const std::string log = dir.File("app.log");
  const std::string dead = test::InChild([&] { return platform::posix::SpareNameBeside(log); });
  for (bool linked : {false, true}) {
    linked ? std::filesystem::create_hard_link(log, dead) : test::WriteFile(dead, "");
    Files().Close(Files().OpenLockedAppend(log, std::nullopt).file);
    EXPECT_THAT(test::EntryNames(dir.path()), ::testing::ElementsAre("app.log")) << linked;
  }
}
}  // namespace
}  // namespace jotwell
