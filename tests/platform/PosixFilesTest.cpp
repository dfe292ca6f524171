// The files backend's own promises, beyond what the event log shows.
#include <limits.h>

#include "platform/files.h"
#include "platform/posix/SystemPath.h"
#include "support/Children.h"
#include "support/FileFacts.h"
#include "support/MountSupport.h"
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
// second name, removes it. A name too long to keep whole shares its spares'
// prefix with another file's, whose live writer may hold the other lock:
// those stay.
TEST(PosixFiles, TheLockedAppendRemovesSparesOfKilledCreators) {
  test::TempDir dir;
  const std::string log = dir.File("app.log");
  const std::string dead = test::InChild([&] { return platform::posix::SpareNameBeside(log); });
  for (bool linked : {false, true}) {
    linked ? std::filesystem::create_hard_link(log, dead) : test::WriteFile(dead, "");
    Files().Close(Files().OpenLockedAppend(log, std::nullopt).file);
    EXPECT_THAT(test::EntryNames(dir.path()), ::testing::ElementsAre("app.log")) << linked;
  }
  const std::string otherSpare = platform::posix::SpareNameBeside(dir.File(std::string(251, 'a')));
  test::WriteFile(otherSpare, "");
  Files().Close(Files().OpenLockedAppend(dir.File(std::string(250, 'a')), std::nullopt).file);
  EXPECT_TRUE(std::filesystem::exists(otherSpare));
}

// A copy, made by root here, hands out no rights: a new one has the
// source's bits less the umask, a replaced one keeps the target's bits and
// owner (nobody's), and neither keeps setuid, setgid or sticky. The time
// stays, also where the unnamed file cannot be linked in through /proc.
TEST(PosixFiles, ACopyHandsOutNoRightsAndKeepsTheTime) {
  test::TempDir dir;
  // source, umask, target (0: none yet), whether /proc is gone, the copy's bits
  const std::tuple<mode_t, mode_t, mode_t, bool, mode_t> rows[] = {
      {04755, 022, 0, false, 0755},    {0666, 077, 0, false, 0600}, {02775, 002, 0640, false, 0640},
      {0644, 022, 07711, false, 0711}, {03666, 027, 0, true, 0640},
  };
  const struct timespec written[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
  int i = 0;
  for (const auto& [source, mask, target, withoutProc, bits] : rows) {
    const std::string from = dir.File("from" + std::to_string(++i)),
                      to = dir.File("to" + std::to_string(i));
    test::WriteFile(from, "new");
    if (target) test::WriteFile(to, "old");
    for (auto [file, mode] : {std::pair{from, source}, {to, target}})
      ASSERT_TRUE(!mode || (test::GiveToNobody(file) && ::chmod(file.c_str(), mode) == 0));
    ::utimensat(AT_FDCWD, from.c_str(), written, 0);
    const uid_t owner = target ? test::StatOf(to).st_uid : ::geteuid();
    const std::string result = test::InChild([&] {
      ::umask(mask);
      // Without /proc, as some sandboxes run programs.
      if (withoutProc && !test::MountPrivately("tmpfs", "/proc")) return "/proc kept";
      return Files().CopyOver(from, to) ? "copied" : "failed";
    });
    const struct stat copy = test::StatOf(to);
    EXPECT_EQ(std::tuple(result, copy.st_mode & 07777, copy.st_uid, copy.st_mtim.tv_sec),
              std::tuple("copied", bits, owner, written[1].tv_sec))
        << i;
  }
  EXPECT_EQ(test::EntryNames(dir.path()).size(), 2 * std::size(rows));
}

}  // namespace
}  // namespace jotwell
