// The INI engine over real files: the profile read rules, writes that keep
// every other byte, and safety across processes and users.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <future>
#include <map>
#include <random>
#include <regex>
#include <thread>

#include "platform/ini.h"
#include "support/Children.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

namespace fs = std::filesystem;
platform::IniProfile& Ini() { return platform::Group<platform::IniProfile>::Native(); }

const std::string kMixed =
    "\xEF\xBB\xBFtop=1\r\n"
    "[ Main Section ]  trailing\r\n"
    "  Key One \t=  \"quoted value\"  \r\n"
    ";x=comment\r"
    "dup=first\n"
    "dup=second\n"
    "v= a ; b # c \n"
    "w=\"\"x\"\"\n"
    "[Two]]\n"
    "q='x\n"
    "e=\n"
    "[no header\n"
    "inner=yes\n"
    "[main section]\n"
    "hidden=1\n";

TEST(IniEngine, ReadsKeysByTheProfileRules) {
  struct Row { std::string section, key, expected; };
  const Row rows[] = {
      {"", "top", "1"}, {"main section", "key one", "quoted value"}, {"main  section", "key one", "-"},
      {" MAIN SECTION\t", "KEY ONE ", "quoted value"}, {"main section", "key  one", "-"},
      {"main section", ";x", "comment"}, {"main section", "dup", "first"}, {"two]", "e", ""},
      {"main section", "v", "a ; b # c"}, {"main section", "w", "\"x\""}, {"two]", "q", "'x"},
      {"main section", "hidden", "-"}, {"two]", "inner", "yes"}, {"two", "q", "-"},
  };
  test::TempDir dir;
  test::WriteFile(dir.File("a.ini"), kMixed);
  for (const Row& row : rows)
    EXPECT_EQ(Ini().ReadProfileText(row.section, row.key, "-", dir.File("a.ini")), row.expected)
        << row.section << "/" << row.key;
  EXPECT_EQ(Ini().ReadProfileText("", "top", "-", dir.File("none.ini")), "-");
}

TEST(IniEngine, ReadsLeadingIntegersWrappedTo32Bits) {
  const std::pair<std::string, Long> rows[] = {
      {"12abc", 12}, {"12.9", 12}, {" -0x1F", -31}, {"0b101", 5}, {"0o17", 15}, {"0X10", 0},
      {"abc", 0}, {"", 7}, {"'42'", 42}, {"+8", 8}, {"4294967297", 1}, {"2147483648", INT32_MIN},
  };
  test::TempDir dir;
  for (const auto& [value, expected] : rows) {
    test::WriteFile(dir.File("n.ini"), "[n]\nk=" + value + "\n");
    EXPECT_EQ(Ini().ReadProfileNumber("n", "k", 7, dir.File("n.ini")), expected) << value;
  }
  EXPECT_EQ(Ini().ReadProfileNumber("n", "missing", 7, dir.File("n.ini")), 7);
}

TEST(IniEngine, WritesChangeOnlyWhatTheyConcern) {
  struct Row { std::string before, section, key, after; };
  const Row rows[] = {
      {"; c\r\n[A]\r\n  Key = old ; x\r\n\r\nz=1\r\n", "a", "KEY",
       "; c\r\n[A]\r\n  Key = v\r\n\r\nz=1\r\n"},
      {"[a]\nx=1\n\n[b]\ny=2\n", "a", "k", "[a]\nx=1\nk=v\n\n[b]\ny=2\n"},
      {"[a]\nx=1", "n", "k", "[a]\nx=1\n[n]\nk=v\n"},
      {"\xEF\xBB\xBF[a]\r\nx=1\r\n", "b", "k", "\xEF\xBB\xBF[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
      {"\xEF\xBB\xBF[a]", "", "k", "\xEF\xBB\xBFk=v\r\n[a]"},
      {"x=1\r[a]\r", "", "k", "x=1\rk=v\r[a]\r"},
      {"[a]", "a", "k", "[a]\r\nk=v\r\n"}, {"", "s", "k", "[s]\r\nk=v\r\n"},
      {"[a]\nk=1\n[a]\nk=2\n", "A", "k", "[a]\nk=v\n[a]\nk=2\n"},
      {"x=1\r[a]\r\n\n", "a", "k", "x=1\r[a]\r\nk=v\r\n\n"},  // a lone CR would end the blank line
  };
  test::TempDir dir;
  for (const Row& row : rows) {
    test::WriteFile(dir.File("w.ini"), row.before);
    EXPECT_TRUE(Ini().WriteProfileText(row.section, row.key, "v", dir.File("w.ini")));
    EXPECT_EQ(test::ReadFile(dir.File("w.ini")), row.after) << row.before;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(IniEngine, RefusedWritesChangeNoByte) {
  const std::string nul("v\0w", 3);
  const std::array<std::string, 3> rows[] = {
      {"a\nb", "k", "v"}, {"a", "k\r", "v"}, {"a", "k", nul}, {"a", "k=x", "v"},
      {"a", " [k", "v"},  {"a", " \t", "v"}, {"a]", "k", "v"}, {"a", "k", "x\ny=1"},
      {"", " \xEF\xBB\xBF[a]", "v"},  // first in a new file, a header once the mark is read
  };
  test::TempDir dir;
  test::WriteFile(dir.File("r.ini"), kMixed);
  for (const auto& [section, key, value] : rows) {
    EXPECT_FALSE(Ini().WriteProfileText(section, key, value, dir.File("r.ini"))) << key;
    EXPECT_FALSE(Ini().WriteProfileText(section, key, value, dir.File("none.ini"))) << key;
  }
  EXPECT_EQ(test::ReadFile(dir.File("r.ini")), kMixed);
  EXPECT_FALSE(fs::exists(dir.File("none.ini")));
  EXPECT_FALSE(Ini().WriteProfileText("a", "k", "v", dir.File("missing/x.ini")));
  EXPECT_FALSE(Ini().WriteProfileText("a", "k", "v", dir.File("r.ini") + '\0'));
  EXPECT_FALSE(Ini().EraseProfileSection("a", dir.File("r.ini") + '\0'));
  EXPECT_EQ(Ini().ReadProfileText("", "top", "-", dir.File("r.ini") + '\0'), "-");
}

TEST(IniEngine, ValuesRoundTripWhole) {
  test::TempDir dir;
  for (const std::string& value : {std::string(200, 'x') + "=;#", std::string(" padded "),
                                  std::string("\"quoted\""), std::string("'"), std::string()}) {
    ASSERT_TRUE(Ini().WriteProfileText("s", "k", value, dir.File("v.ini")));
    EXPECT_EQ(Ini().ReadProfileText("s", "k", "<fallback>", dir.File("v.ini")), value);
  }
}

TEST(IniEngine, ErasesKeysAndSectionsWithTheirLines) {
  test::TempDir dir;
  const std::string file = dir.File("e.ini");
  test::WriteFile(file, "top=0\r\n[a]\r\nx=1\r\nK=2\r\nk=3\r\n[b]\r\ny=3\r\n[A]\r\nk=4");
  EXPECT_TRUE(Ini().EraseProfileKey("A", "k", file));
  EXPECT_EQ(test::ReadFile(file), "top=0\r\n[a]\r\nx=1\r\n[b]\r\ny=3\r\n[A]\r\nk=4");
  EXPECT_TRUE(Ini().EraseProfileSection("a", file));
  EXPECT_TRUE(Ini().EraseProfileSection("", file));
  EXPECT_EQ(test::ReadFile(file), "[b]\r\ny=3\r\n");
  EXPECT_TRUE(Ini().EraseProfileKey("a", "k", dir.File("none.ini")) && !fs::exists(dir.File("none.ini")));
  test::WriteFile(file, "a=1\rk=2\n\n[s]");  // a lone CR before the blank line would end it
  EXPECT_TRUE(Ini().EraseProfileKey("", "k", file) && test::ReadFile(file) == "a=1\r\r\n[s]");
}

// Root writing a user's file leaves it the user's; a file with more than one
// name stays one file.
TEST(IniEngine, WritesThroughLinksAndKeepsOwnerAndPermissionBits) {
  test::TempDir dir;
  test::WriteFile(dir.File("real.ini"), "[s]\n");
  fs::permissions(dir.File("real.ini"), fs::perms(0640));
  ASSERT_TRUE(::geteuid() != 0 || ::chown(dir.File("real.ini").c_str(), 65534, 65534) == 0);
  auto owner = [&] {
    struct stat info {};
    ::stat(dir.File("real.ini").c_str(), &info);
    return std::tuple(info.st_uid, info.st_gid, info.st_mode & 07777);
  };
  const auto before = owner();
  fs::create_symlink("real.ini", dir.File("link.ini"));
  ASSERT_TRUE(Ini().WriteProfileText("s", "k", "v", dir.File("link.ini")));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(test::ReadFile(dir.File("real.ini")), "[s]\nk=v\n");
  EXPECT_EQ(owner(), before);
  fs::create_hard_link(dir.File("real.ini"), dir.File("hard.ini"));
  EXPECT_TRUE(Ini().WriteProfileText("s", "k", "w", dir.File("hard.ini")) && test::ReadFile(dir.File("real.ini")) == "[s]\nk=w\n");
}

// Each process writes its 500 keys from two threads, which exclude each
// other as processes do.
TEST(IniEngine, TwoProcessesOfTwoThreadsWritingAtOnceLoseNoKey) {
  test::TempDir dir;
  const std::string file = dir.File("c.ini");
  auto keys = [=](std::string tag) {
    bool all = true;
    for (int i = 0; i < 250; ++i) all = Ini().WriteProfileText("s", tag + std::to_string(i), tag, file) && all;
    return all;
  };
  auto writer = [=](std::string tag) {
    return [=]() -> std::string {
      std::future<bool> other = std::async(std::launch::async, keys, tag + "t");
      return keys(tag) && other.get() ? "" : "refused";
    };
  };
  EXPECT_THAT(test::InChildren({writer("a"), writer("b")}), ::testing::Each(""));
  for (int i = 0; i < 250; ++i)
    for (const char* tag : {"a", "at", "b", "bt"})
      EXPECT_EQ(Ini().ReadProfileText("s", tag + std::to_string(i), "", file), tag) << i;
}

// A writer killed at any moment of its writes leaves the old file or the
// new one: no line cut, and every key written before with its old value or
// the new one. Each round's value has its own length, so a mix would show.
TEST(IniEngine, AWriterKilledMidWriteLeavesTheOldFileOrTheNew) {
  // On tmpfs a write takes microseconds, not a disk's sync, so that most
  // kills land inside one.
  test::ScopedEnv tmpfs("TMPDIR", fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string());
  test::TempDir dir;
  const std::string file = dir.File("k.ini");
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  std::map<std::string, std::string> known;  // each key's value after the last kill
  for (int round = 0; round < 200; ++round) {
    const std::string value = std::string(round % 7 * 9, 'v') + std::to_string(round);
    const auto moment = std::chrono::microseconds(random() % 2000);
    const unsigned first = random() % 40;
    test::InChild([&]() -> std::string {
      std::thread([=] { std::this_thread::sleep_for(moment); ::kill(::getpid(), SIGKILL); }).detach();
      for (unsigned i = first;; ++i) Ini().WriteProfileText("s", "k" + std::to_string(i % 40), value, file);
    }, std::chrono::seconds(20));
    const std::string text = test::ReadFile(file);
    ASSERT_TRUE(std::regex_match(text, std::regex("(\\[s\\]\r\n(k\\d+=v*\\d+\r\n)*)?"))) << text << "\nseed " << seed;
    for (int i = 0; i < 40; ++i) {
      const std::string key = "k" + std::to_string(i), now = Ini().ReadProfileText("s", key, "", file);
      const std::string& before = known[key];
      ASSERT_TRUE(now == before || now == value) << key << "=" << now << ", was " << before << "\nseed " << seed;
      known[key] = now;
    }
  }
}

// A read-only file is refused even in a folder where a rename could replace
// it; a writable file in a folder that takes no new file is written in place.
// A write the size limit stops leaves the old bytes and no copy behind. The
// files are the writer's own, so that a copy can keep their owner.
TEST(IniEngine, FollowsTheUsersRightsAndTheSystemsLimits) {
  struct Row { const char* name; fs::perms folder, file; std::size_t size; bool written; };
  const Row rows[] = {{"open", fs::perms(0777), fs::perms(0444), 3, false},
                      {"shut", fs::perms(0555), fs::perms(0666), 3, true},
                      {"copy", fs::perms(0777), fs::perms(0666), 90, false},
                      {"full", fs::perms(0555), fs::perms(0666), 90, false}};
  test::TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  for (const Row& row : rows) {
    fs::create_directory(dir.path() / row.name);
    test::WriteFile(dir.File(row.name) + "/p.ini", "[s]\r\nk=old\r\n");
    fs::permissions(dir.File(row.name) + "/p.ini", row.file);
    ASSERT_TRUE(::geteuid() != 0 || ::chown((dir.File(row.name) + "/p.ini").c_str(), 65534, 65534) == 0);
    fs::permissions(dir.path() / row.name, row.folder);
  }
  EXPECT_EQ(test::InChild([&] {
              std::string results;
              std::signal(SIGXFSZ, SIG_IGN);
              for (const Row& row : rows)
                results += test::BecomeNobody() && test::Limit(RLIMIT_FSIZE, 64) &&
                                   Ini().WriteProfileText("s", "k", std::string(row.size, 'n'),
                                                          dir.File(row.name) + "/p.ini")
                               ? "1" : "0";
              return results;
            }),
            "0100");
  for (const Row& row : rows) {
    EXPECT_EQ(test::ReadFile(dir.File(row.name) + "/p.ini"),
              row.written ? "[s]\r\nk=nnn\r\n" : "[s]\r\nk=old\r\n") << row.name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / row.name), fs::directory_iterator()), 1);
    fs::permissions(dir.path() / row.name, fs::perms(0777));
  }
}

}  // namespace
}  // namespace jotwell
