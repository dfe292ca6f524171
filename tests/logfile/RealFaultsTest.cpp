// Real file-system faults, each met by a child process, which may change its
// user or its limits first.
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "LogTestSupport.h"

namespace jotwell {
namespace {

enum class Trigger { None, ReadOnlyToAnotherUser, FileSizeLimit, NoDescriptorsLeft };

struct Fault {
  const char* name;
  const char* log;      // in the temporary folder unless absolute
  const char* content;  // the log before, which must survive; null: no file
  Trigger trigger;
  Integer number;
  const char* firstLine;
  bool alsoEnd;  // ending the log meets the same fault
  friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }
};
class RealFaultTest : public test::LogTest, public ::testing::WithParamInterface<Fault> {};

bool Limit(int resource, rlim_t to) {
  rlimit limit{};
  return ::getrlimit(resource, &limit) == 0 &&
         (limit.rlim_cur = to, ::setrlimit(resource, &limit) == 0);
}

TEST_P(RealFaultTest, IsReportedOnceAndLeavesNothingOpen) {
  const Fault& fault = GetParam();
  const std::string path = fault.log[0] == '/' ? fault.log : dir.File(fault.log);
  if (fault.content) test::WriteFile(path, fault.content);
  book->LogFileName(path);
  if (fault.trigger == Trigger::NoDescriptorsLeft) {
    // The sanitizers check a virtual call's type once per process, with a
    // pipe of their own: meet the failure path while descriptors remain.
    JotBook warmUp;
    test::EventRecorder sink;
    warmUp.Advise(sink);
    warmUp.LogFileName(dir.File("missing/warm-up.log"));
    warmUp.WriteEventToLogFile("x");
  }
  std::string said = test::InChild([&]() -> std::string {
    namespace fs = std::filesystem;
    if (fault.trigger == Trigger::ReadOnlyToAnotherUser) {
      fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
      // Root may write anything: become nobody.
      if (::geteuid() == 0 && (::setgroups(0, nullptr) || ::setgid(65534) || ::setuid(65534)))
        return "cannot become nobody";
    }
    // A limit a few bytes past the log's end: the write stops half way.
    if (fault.trigger == Trigger::FileSizeLimit &&
        (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR ||
         !Limit(RLIMIT_FSIZE, std::strlen(fault.content) + 5)))
      return "cannot limit the file size";
    if (fault.trigger == Trigger::NoDescriptorsLeft && !Limit(RLIMIT_NOFILE, 64))
      return "cannot limit descriptors";
    std::string outcome = Outcome([&] {
      std::vector<int> spent;
      for (int fd; fault.trigger == Trigger::NoDescriptorsLeft &&
                   (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        spent.push_back(fd);
      book->WriteEventToLogFile("x");
      for (int fd : spent) ::close(fd);
    });
    return fault.alsoEnd ? outcome + "\n" + Outcome([&] { book->EndLogFileEvents(); }) : outcome;
  });
  std::string failed = Failed(fault.number, fault.firstLine);
  EXPECT_EQ(said, fault.alsoEnd ? failed + "\n" + failed : failed);
  if (fault.content) {
    EXPECT_EQ(test::ReadFile(path), fault.content);  // byte for byte
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    book->WriteEventToLogFile("next");  // the log takes the next event cleanly
    std::string bytes = test::ReadFile(path);
    EXPECT_TRUE(bytes.starts_with(fault.content) &&
                std::regex_match(bytes.substr(std::strlen(fault.content)),
                                 test::EventLine("next\r\n")))
        << bytes;
  } else if (fault.log[0] != '/') {
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RealFaultTest,
    ::testing::Values(
        Fault{"MissingFolderIs76", "missing/events.log", nullptr, Trigger::None, 76,
              "Run Time Error Number 76 occurred.", false},
        Fault{"ReadOnlyLogIs75", "events.log", "kept\r\n", Trigger::ReadOnlyToAnotherUser, 75,
              "Path/File Error!", true},
        Fault{"FileSizeLimitHalfWayIs61", "events.log", "kept line\r\n", Trigger::FileSizeLimit,
              61, "Disk is Full!", true},
        Fault{"DescriptorExhaustionIs67", "events.log", "", Trigger::NoDescriptorsLeft, 67,
              "Run Time Error Number 67 occurred.", false}),
    [](const auto& info) { return info.param.name; });

// Fills the file system that holds `path` with that file; false when it
// could not even start.
bool FillUp(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const std::string block(4096, 'f');
  while (::write(fd, block.data(), block.size()) > 0) continue;
  return ::close(fd) == 0;
}

// A full disk takes only part of an event or end line: the log is cut back
// to what it was, and takes the next event once there is room again. The
// child mounts a small file system of its own, which needs root.
using FullDiskTest = test::LogTest;

TEST_F(FullDiskTest, LeavesTheLogAsItWas) {
  const std::string small = dir.File("small"), log = small + "/events.log";
  std::filesystem::create_directory(small);
  // The log ends a few bytes short of its file system's page, and nothing
  // is left after it.
  const std::string kept = std::string(4096 - 14, 'k') + "\r\n";
  std::string said = test::InChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
      return std::string("skip: cannot mount a small file system: ") + std::strerror(errno);
    test::WriteFile(log, kept);
    if (!FillUp(small + "/filler")) return "cannot fill the file system";
    book->LogFileName(log);
    book->WriteEventToLogFile("an event longer than the room left");
    book->EndLogFileEvents();
    std::string afterFailures = test::ReadFile(log);
    std::filesystem::remove(small + "/filler");
    book->WriteEventToLogFile("next");
    std::string bytes = test::ReadFile(log);
    auto after = [&](const std::string& bytes) {
      if (!bytes.starts_with(kept)) return "not the log: " + bytes.substr(0, 40);
      return bytes.substr(kept.size());
    };
    std::string said = "errors";
    for (Integer number : recorder.errors) said += " " + std::to_string(number);
    said += ", then \"" + after(afterFailures) + "\"";
    return said + (std::regex_match(after(bytes), test::EventLine("next\r\n")) ? ", then clean"
                                                                               : ", then torn");
  });
  if (said.starts_with("skip: ")) GTEST_SKIP() << said;
  EXPECT_EQ(said, "errors 61 61, then \"\", then clean");
}

// Names of something other than a regular file. The log is never opened in a
// way that could block: the write fails with 75 and the end finds no log.
struct NotAFile {
  const char* name;
  bool fifo;    // else a device
  bool reader;  // someone holds the FIFO open for reading
  friend void PrintTo(const NotAFile& file, std::ostream* out) { *out << file.name; }
};
class NotAFileTest : public test::LogTest, public ::testing::WithParamInterface<NotAFile> {};

TEST_P(NotAFileTest, IsNoLogAndNeverBlocks) {
  const std::string path = GetParam().fifo ? dir.File("events.log") : "/dev/null";
  if (GetParam().fifo) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
  }
  book->LogFileName(path);
  book->MaximumLogFileSize(-1);  // no free-space warning, whatever the volume
  std::string said = test::InChild(
      [&] {
        int reader = GetParam().reader ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        std::string write = Outcome([&] { book->WriteEventToLogFile("x"); });
        bool exists = book->DoesLogFileExist().IsTrue();
        std::string end = Outcome([&] { book->EndLogFileEvents(); });
        if (reader >= 0) ::close(reader);
        return write + (exists ? "\nexists\n" : "\nmissing\n") + end;
      },
      std::chrono::seconds(5));
  EXPECT_EQ(said, Failed(75, "Path/File Error!") + "\nmissing\nevents | box Device I/O Error!\r\n" +
                      "Unable to close " + path + ", file not found!\r\n" + test::kConsult +
                      " | 0 left open, depth 0, successes 0");
}

INSTANTIATE_TEST_SUITE_P(Files, NotAFileTest,
                         ::testing::Values(NotAFile{"FifoWithoutReader", true, false},
                                           NotAFile{"FifoWithReader", true, true},
                                           NotAFile{"Device", false, false}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace jotwell
