// The files backend's own promises, beyond what the event log shows.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "jotwell/RuntimeError.h"
#include "platform/files.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

platform::FileSystem& Files() { return platform::Group<platform::FileSystem>::Native(); }

::testing::AssertionResult Refused(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RuntimeError& error) {
    if (error.Number() == errnum::kPathFileAccess) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "threw " << error.Number();
  }
  return ::testing::AssertionFailure() << "did not throw";
}

// The system would cut each name at the NUL and reach `cut`.
TEST(PosixFiles, EveryPathOperationRefusesANameHoldingNul) {
  test::TempDir dir;
  const std::string cut = dir.File("log"), name = cut + std::string("\0x", 2);
  Files().AppendQuietly(name, "x");
  EXPECT_FALSE(std::filesystem::exists(cut));
  test::WriteFile(cut, "kept");
  EXPECT_FALSE(Files().CanOpen(name));
  EXPECT_TRUE(Refused([&] { Files().Length(name); }));
  EXPECT_TRUE(Refused([&] { Files().OpenLockedAppend(name, dir.File("spare")); }));
  EXPECT_TRUE(Refused([&] { Files().OpenLockedAppend(dir.File("new"), dir.File("spare") + '\0'); }));
  EXPECT_TRUE(Refused([&] { Files().FreeBytes(dir.path().string() + '\0'); }));
  EXPECT_FALSE(Files().EraseFile(name));
  EXPECT_EQ(test::ReadFile(cut), "kept");
  EXPECT_FALSE(std::filesystem::exists(dir.File("new")));
}

// Spare names carry the tag, so a forked child must not keep its parent's.
TEST(PosixFiles, AForkedChildHasAProcessTagOfItsOwn) {
  const String parent = Files().ProcessTag();
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  pid_t child = ::fork();
  if (child == 0) {
    String tag = Files().ProcessTag();
    ::_exit(::write(pipeEnds[1], tag.data(), tag.size()) < 0);
  }
  ::close(pipeEnds[1]);
  char tag[64] = {};
  ssize_t length = ::read(pipeEnds[0], tag, sizeof tag - 1);
  ::close(pipeEnds[0]);
  ::waitpid(child, nullptr, 0);
  ASSERT_GT(length, 0);
  EXPECT_NE(String(tag, length), parent);
  EXPECT_EQ(Files().ProcessTag(), parent);
}

}  // namespace
}  // namespace jotwell
