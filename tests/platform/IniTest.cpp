// The INI engine over real files: the profile read rules, writes that keep
// every other byte, and safety across processes and users.
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <future>
#include <map>
#include <random>
#include <regex>
#include <thread>

#include "platform/ini.h"
#include "platform/shell.h"
#include "support/Children.h"
#include "support/FileFacts.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

namespace fs = std::filesystem;
platform::IniProfile& Ini() { return platform::Group<platform::IniProfile>::Native(); }

// The files lie on tmpfs where there is one: a write takes microseconds
// there, not a disk's sync, so that most kills of a writer land inside one.
class IniEngine : public ::testing::Test {
 protected:
  test::ScopedEnv tmpfs{
      "TMPDIR", fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string()};
  test::TempDir dir;
  const std::string file = dir.File("p.ini");
};

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

TEST_F(IniEngine, ReadsKeysByTheProfileRules) {
  const std::array<std::string, 3> rows[] = {
      {"", "top", "1"},
      {"main section", "key one", "quoted value"},
      {"main  section", "key one", "-"},
      {" MAIN SECTION\t", "KEY ONE ", "quoted value"},
      {"main section", "key  one", "-"},
      {"main section", ";x", "comment"},
      {"main section", "dup", "first"},
      {"two]", "e", ""},
      {"main section", "v", "a ; b # c"},
      {"main section", "w", "\"x\""},
      {"two]", "q", "'x"},
      {"main section", "hidden", "-"},
      {"two]", "inner", "yes"},
      {"two", "q", "-"},
  };
  test::WriteFile(file, kMixed);
  for (const auto& [section, key, expected] : rows)
    EXPECT_EQ(Ini().ReadProfileText(section, key, "-", file), expected) << section << "/" << key;
  EXPECT_EQ(Ini().ReadProfileText("", "top", "-", dir.File("none.ini")), "-");
}

TEST_F(IniEngine, ReadsLeadingIntegersWrappedTo32Bits) {
  const std::pair<std::string, Long> rows[] = {
      {"12abc", 12}, {"12.9", 12}, {" -0x1F", -31},   {"0b101", 5},
      {"0o17", 15},  {"0X10", 0},  {"abc", 0},        {"", 7},
      {"'42'", 42},  {"+8", 8},    {"4294967297", 1}, {"2147483648", INT32_MIN},
  };
  for (const auto& [value, expected] : rows) {
    test::WriteFile(file, "[n]\nk=" + value + "\n");
    EXPECT_EQ(Ini().ReadProfileNumber("n", "k", 7, file), expected) << value;
  }
  EXPECT_EQ(Ini().ReadProfileNumber("n", "missing", 7, file), 7);
}

TEST_F(IniEngine, WritesChangeOnlyWhatTheyConcern) {
  const std::array<std::string, 4> rows[] = {
      // before, section, key, after
      {"; c\r\n[A]\r\n  Key = old ; x\r\n\r\nz=1\r\n", "a", "KEY",
       "; c\r\n[A]\r\n  Key = v\r\n\r\nz=1\r\n"},
      {"[a]\nx=1\n\n[b]\ny=2\n", "a", "k", "[a]\nx=1\nk=v\n\n[b]\ny=2\n"},
      {"[a]\nx=1", "n", "k", "[a]\nx=1\n[n]\nk=v\n"},
      {"\xEF\xBB\xBF[a]\r\nx=1\r\n", "b", "k", "\xEF\xBB\xBF[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
      {"\xEF\xBB\xBF[a]", "", "k", "\xEF\xBB\xBFk=v\r\n[a]"},
      {"x=1\r[a]\r", "", "k", "x=1\rk=v\r[a]\r"},
      {"[a]", "a", "k", "[a]\r\nk=v\r\n"},
      {"", "s", "k", "[s]\r\nk=v\r\n"},
      {"[a]\nk=1\n[a]\nk=2\n", "A", "k", "[a]\nk=v\n[a]\nk=2\n"},
      {"x=1\r[a]\r\n\n", "a", "k", "x=1\r[a]\r\nk=v\r\n\n"},  // a lone CR would end the blank line
  };
  for (const auto& [before, section, key, after] : rows) {
    test::WriteFile(file, before);
    EXPECT_TRUE(Ini().WriteProfileText(section, key, "v", file));
    EXPECT_EQ(test::ReadFile(file), after) << before;
  }
}

TEST_F(IniEngine, RefusedWritesChangeNoByte) {
  const std::string nul("v\0w", 3);
  // The last two keys come first in a new file: a header once the mark is
  // read, and a UTF-16 mark.
  const std::array<std::string, 3> rows[] = {
      {"a\nb", "k", "v"},    {"a", "k\r", "v"},    {"a", "k", nul},
      {"a", "k=x", "v"},     {"a", " [k", "v"},    {"a", " \t", "v"},
      {"a]", "k", "v"},      {"a", "k", "x\ny=1"}, {"", " \xEF\xBB\xBF[a]", "v"},
      {"", "\xFE\xFFk", "v"}};
  test::WriteFile(file, kMixed);
  for (const auto& [section, key, value] : rows) {
    EXPECT_FALSE(Ini().WriteProfileText(section, key, value, file)) << key;
    EXPECT_FALSE(Ini().WriteProfileText(section, key, value, dir.File("none.ini"))) << key;
  }
  EXPECT_EQ(test::ReadFile(file), kMixed);
  EXPECT_FALSE(fs::exists(dir.File("none.ini")));
  EXPECT_FALSE(Ini().WriteProfileText("a", "k", "v", dir.File("missing/x.ini")));
  EXPECT_FALSE(Ini().WriteProfileText("a", "k", "v", file + '\0'));
  EXPECT_FALSE(Ini().EraseProfileSection("a", file + '\0'));
  EXPECT_EQ(Ini().ReadProfileText("", "top", "-", file + '\0'), "-");
}

TEST_F(IniEngine, ValuesRoundTripWhole) {
  for (const std::string& value :
       test::Lines{std::string(200, 'x') + "=;#", " padded ", "\"quoted\"", "'", ""}) {
    ASSERT_TRUE(Ini().WriteProfileText("s", "k", value, file));
    EXPECT_EQ(Ini().ReadProfileText("s", "k", "<fallback>", file), value);
  }
}

TEST_F(IniEngine, ErasesKeysAndSectionsWithTheirLines) {
  test::WriteFile(file, "top=0\r\n[a]\r\nx=1\r\nK=2\r\nk=3\r\n[b]\r\ny=3\r\n[A]\r\nk=4");
  EXPECT_TRUE(Ini().EraseProfileKey("A", "k", file));
  EXPECT_EQ(test::ReadFile(file), "top=0\r\n[a]\r\nx=1\r\n[b]\r\ny=3\r\n[A]\r\nk=4");
  EXPECT_TRUE(Ini().EraseProfileSection("a", file));
  EXPECT_TRUE(Ini().EraseProfileSection("", file));
  EXPECT_EQ(test::ReadFile(file), "[b]\r\ny=3\r\n");
  EXPECT_TRUE(Ini().EraseProfileKey("a", "k", dir.File("none.ini")) && !fs::exists(dir.File("none.ini")));
  test::WriteFile(file, "a=1\rk=2\n\n[s]");  // a lone CR before the blank line would end it
  EXPECT_TRUE(Ini().EraseProfileKey("", "k", file) && test::ReadFile(file) == "a=1\r\r\n[s]");
  test::WriteFile(file, "a=1\n\xFF\xFEk=2\n");  // a file that would start with a UTF-16 mark
  EXPECT_TRUE(Ini().EraseProfileKey("", "a", file) && test::ReadFile(file) == "\n\xFF\xFEk=2\n");
}

// The bytes a "Unicode" save gives: the mark, then each 16-bit unit.
std::string Utf16(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  for (char16_t unit : u"\uFEFF" + std::u16string(units)) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// A UTF-16 file stays UTF-16 in its byte order, values crossing as UTF-8; a
// damaged one (a lone surrogate, an odd last byte) keeps the bytes no edit
// concerns.
TEST_F(IniEngine, KeepsUtf16FilesInTheirEncoding) {
  for (bool big : {false, true}) {
    test::WriteFile(file, Utf16(u"[S]\r\nk=caf\u00E9 \U0001D11E\r\nx=1\r\n[t]\ny=2\n", big));
    EXPECT_EQ(Ini().ReadProfileText("s", "k", "-", file), "caf\u00E9 \U0001D11E");
    EXPECT_TRUE(Ini().WriteProfileText("s", "k", "\u00FC", file));
    EXPECT_TRUE(Ini().WriteProfileText("s", "n", "1", file));
    EXPECT_TRUE(Ini().WriteProfileText("\u00E4", "k", "v", file));
    EXPECT_FALSE(Ini().WriteProfileText("s", "k", "\xFF", file));
    EXPECT_TRUE(Ini().EraseProfileKey("s", "x", file));
    EXPECT_TRUE(Ini().EraseProfileSection("T", file));
    EXPECT_EQ(test::ReadFile(file), Utf16(u"[S]\r\nk=\u00FC\r\nn=1\r\n[\u00E4]\r\nk=v\r\n", big))
        << big;
    test::WriteFile(file, Utf16(u"a=\xD800\r\n", big) + '\x01');
    EXPECT_EQ(Ini().ReadProfileText("", "a", "-", file), "\uFFFD");
    EXPECT_TRUE(Ini().WriteProfileText("", "k", "v", file));
    EXPECT_EQ(test::ReadFile(file), Utf16(u"a=\xD800\r\nk=v\r\n", big) + '\x01') << big;
  }
}

// A link is followed only where the system's protected-symlinks rule would
// follow it, whatever that is set to: not one that another user planted in
// a sticky folder anyone may write, at any hop. The recent-documents list is
// written the same way. Root writing a user's file through a link leaves it
// the user's; a file with more than one name stays one file.
TEST_F(IniEngine, WritesThroughLinksButNotOneAnotherUserPlantedInAStickyFolder) {
  fs::permissions(dir.path(), fs::perms(0755));
  for (auto [folder, mode] : {std::pair{"sticky", 01777}, {"open", 0777}}) {
    fs::create_directory(dir.path() / folder);
    fs::permissions(dir.path() / folder, fs::perms(mode));
  }
  const std::string planting = test::InChild([&] {
    bool planted = test::BecomeNobody();
    for (const char* link : {"sticky/nobody.ini", "open/nobody.ini", "sticky/recently-used.xbel"})
      planted = planted && ::symlink(file.c_str(), dir.File(link).c_str()) == 0;
    return std::string(planted ? "" : "cannot plant the links");
  });
  ASSERT_EQ(planting, "");
  fs::create_symlink(file, dir.File("sticky/root.ini"));
  fs::create_symlink("nobody.ini", dir.File("sticky/hop.ini"));
  fs::create_symlink("p.ini", dir.File("link.ini"));
  test::WriteFile(file, "[s]\n");
  fs::permissions(file, fs::perms(0640));
  ASSERT_TRUE(test::GiveToNobody(file));
  const auto before = test::OwnerAndMode(file);
  const std::pair<const char*, bool> rows[] = {
      {"sticky/nobody.ini", false}, {"sticky/hop.ini", false}, {"sticky/root.ini", true},
      {"open/nobody.ini", true},    {"link.ini", true},
  };
  for (const auto& [link, followed] : rows) {
    test::WriteFile(file, "[s]\n");
    EXPECT_EQ(Ini().WriteProfileText("s", "k", "v", dir.File(link)), followed) << link;
    EXPECT_EQ(test::ReadFile(file), followed ? "[s]\nk=v\n" : "[s]\n") << link;
  }
  EXPECT_TRUE(fs::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(test::OwnerAndMode(file), before);
  fs::create_hard_link(file, dir.File("hard.ini"));
  EXPECT_TRUE(Ini().WriteProfileText("s", "k", "w", dir.File("hard.ini")));
  EXPECT_EQ(test::ReadFile(file), "[s]\nk=w\n");
  test::ScopedEnv dataHome("XDG_DATA_HOME", dir.File("sticky"));
  test::WriteFile(file, "");  // what the list would take as its own, empty
  platform::Group<platform::Shell>::Native().AddRecentDocument(file);
  EXPECT_EQ(test::ReadFile(file), "");
}

// 8 processes of 4 threads write keys of their own: each waits for the lock
// far longer than a writer's patience, but the writers ahead show progress.
TEST_F(IniEngine, ManyProcessesOfManyThreadsWritingAtOnceLoseNoKey) {
  constexpr int kProcesses = 8, kThreads = 4, kKeys = 100;
  auto keys = [this](int writer) {
    bool all = true;
    for (int key = writer * kKeys; key < (writer + 1) * kKeys; ++key)
      all = Ini().WriteProfileText("s", std::to_string(key), std::to_string(writer), file) && all;
    return all;
  };
  std::vector<std::function<std::string()>> writers;
  for (int process = 0; process < kProcesses; ++process)
    writers.push_back([=] {
      std::vector<std::future<bool>> threads;
      for (int thread = 0; thread < kThreads; ++thread)
        threads.push_back(std::async(std::launch::async, keys, process * kThreads + thread));
      return std::ranges::all_of(threads, [](auto& done) { return done.get(); }) ? "" : "refused";
    });
  EXPECT_THAT(test::InChildren(writers), ::testing::Each(""));
  for (int key = 0; key < kProcesses * kThreads * kKeys; ++key)
    ASSERT_EQ(Ini().ReadProfileNumber("s", std::to_string(key), -1, file), key / kKeys) << key;
}

// A writer waits for the lock while its holder shows progress, however
// long, and gives up on one that shows none for a few seconds: both holders
// here keep the lock for seven.
TEST_F(IniEngine, AWriterWaitsForTheLockOnlyWhileItsHolderShowsProgress) {
  auto writeWhileHeld = [this](bool progressing) {
    const std::string held = dir.File(progressing ? "busy.ini" : "stuck.ini");
    test::WriteFile(held, "[s]\n");
    const int holder = ::open(held.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (::flock(holder, LOCK_EX) != 0) return std::string("cannot lock");
    std::thread release([=] {
      for (int second = 0; second < 7; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        if (progressing && ::write(holder, "\n", 1) != 1) break;
      }
      ::close(holder);
    });
    const bool written = Ini().WriteProfileText("s", "k", "v", held);
    release.join();
    return std::string(written ? "written" : "refused") +
           (Ini().ReadProfileText("s", "k", "", held) == "v" ? "+" : "-");
  };
  std::future<std::string> stuck = std::async(std::launch::async, writeWhileHeld, false);
  EXPECT_EQ(writeWhileHeld(true), "written+");
  EXPECT_EQ(stuck.get(), "refused-");
}

// A writer killed at any moment of its writes leaves the old file or the
// new one: no line cut, and every key written before with its old value or
// the new one. Each round's value has its own length, so a mix would show.
TEST_F(IniEngine, AWriterKilledMidWriteLeavesTheOldFileOrTheNew) {
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
    ASSERT_TRUE(std::regex_match(text, std::regex("(\\[s\\]\r\n(k\\d+=v*\\d+\r\n)*)?")))
        << text << "\nseed " << seed;
    for (int i = 0; i < 40; ++i) {
      const std::string key = "k" + std::to_string(i), now = Ini().ReadProfileText("s", key, "", file);
      const std::string& before = known[key];
      ASSERT_TRUE(now == before || now == value) << key << "=" << now << ", was " << before << "\nseed " << seed;
      known[key] = now;
    }
  }
  ASSERT_TRUE(Ini().WriteProfileText("s", "k0", "last", file));
  // The next write leaves no spare of the killed writers.
  EXPECT_THAT(test::EntryNames(dir.path()), test::ElementsAre("p.ini"));
}

// A read-only file is refused even in a folder where a rename could replace
// it; a writable file in a folder that takes no new file, or bind-mounted
// over its own name as a container receives one, is written in place. A
// write the size limit stops leaves the old bytes and no copy behind. A file
// that cannot be read refuses an erase too, though it may not hold the key.
// The files are the writer's own, so that a copy can keep their owner.
TEST_F(IniEngine, FollowsTheUsersRightsAndTheSystemsLimits) {
  struct Row { const char* name; fs::perms folder, file; std::size_t size; bool written; };
  using P = fs::perms;
  const Row rows[] = {{"open", P(0777), P(0444), 3, false},  {"shut", P(0555), P(0666), 3, true},
                      {"copy", P(0777), P(0666), 90, false}, {"full", P(0555), P(0666), 90, false},
                      {"bound", P(0777), P(0666), 3, true},  {"blind", P(0777), P(0222), 3, false}};
  auto ini = [&](const Row& row) { return dir.File(row.name) + "/p.ini"; };
  fs::permissions(dir.path(), fs::perms(0755));
  for (const Row& row : rows) {
    test::WriteFile(ini(row), "[s]\r\nk=old\r\n");
    fs::permissions(ini(row), row.file);
    ASSERT_TRUE(test::GiveToNobody(ini(row)));
    fs::permissions(dir.path() / row.name, row.folder);
  }
  const std::string bound = ini(rows[4]);
  const std::string written = test::InChild([&] {
    std::string said;
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount(bound.c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0)
      return std::string("skip: cannot bind-mount a file: ") + std::strerror(errno);
    std::signal(SIGXFSZ, SIG_IGN);
    if (!test::BecomeNobody() || !test::Limit(RLIMIT_FSIZE, 64)) return std::string("?");
    for (const Row& row : rows)
      said += Ini().WriteProfileText("s", "k", std::string(row.size, 'n'), ini(row)) ? '1' : '0';
    return said + (Ini().EraseProfileKey("s", "absent", ini(rows[5])) ? '1' : '0');
  });
  if (written.starts_with("skip: ")) GTEST_SKIP() << written;
  EXPECT_EQ(written, "0100100");  // the rows in turn, then the erase
  for (const Row& row : rows) {
    EXPECT_EQ(test::ReadFile(ini(row)), row.written ? "[s]\r\nk=nnn\r\n" : "[s]\r\nk=old\r\n")
        << row.name;
    EXPECT_THAT(test::EntryNames(dir.path() / row.name), test::ElementsAre("p.ini")) << row.name;
    fs::permissions(dir.path() / row.name, fs::perms(0777));
  }
}

}  // namespace
}  // namespace jotwell
