// Real file-system faults, each met by a child process, which may change its
// user or its limits first.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>

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
    if (fault.trigger == Trigger::FileSizeLimit &&
        (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || !Limit(RLIMIT_FSIZE, 10)))
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
    EXPECT_EQ(test::ReadFile(path), fault.content);
  } else if (fault.log[0] != '/') {
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RealFaultTest,
    ::testing::Values(
        Fault{"MissingFolderIs76", "missing/events.log", nullptr, Trigger::None, 76,
              "Run Time Error Number 76 occurred.", false},
        Fault{"FullDeviceIs61", "/dev/full", nullptr, Trigger::None, 61, "Disk is Full!", true},
        Fault{"ReadOnlyLogIs75", "events.log", "kept\r\n", Trigger::ReadOnlyToAnotherUser, 75,
              "Path/File Error!", true},
        Fault{"FileSizeLimitIs61", "events.log", "0123456789", Trigger::FileSizeLimit, 61,
              "Disk is Full!", false},
        Fault{"DescriptorExhaustionIs67", "events.log", "", Trigger::NoDescriptorsLeft, 67,
              "Run Time Error Number 67 occurred.", false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace jotwell
