// Real file-system faults, each in a child process, which may change its user
// or its limits first.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "LogTestSupport.h"

namespace jotwell {
namespace {

enum class Trigger { None, ReadOnlyForAnotherUser, FileSizeLimit, NoDescriptorsLeft };

struct Fault {
  const char* name;
  const char* log;      // in the temporary folder unless absolute
  const char* content;  // the log's content before, which must survive; null: no file
  Trigger trigger;
  Integer number;
  const char* firstLine;
  bool alsoEnd;  // ending the log meets the same fault
};

class RealFaultTest : public test::LogTest, public ::testing::WithParamInterface<Fault> {};

bool Lower(int resource, rlim_t to) {
  rlimit limit{};
  ::getrlimit(resource, &limit);
  limit.rlim_cur = to;
  return ::setrlimit(resource, &limit) == 0;
}

TEST_P(RealFaultTest, IsReportedOnceAndLeavesNothingOpen) {
  const Fault& fault = GetParam();
  const std::string path = fault.log[0] == '/' ? fault.log : dir.File(fault.log);
  if (fault.content) test::WriteFile(path, fault.content);
  book->LogFileName(path);
  std::string said = test::InChild([&]() -> std::string {
    namespace fs = std::filesystem;
    if (fault.trigger == Trigger::ReadOnlyForAnotherUser) {
      fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      fs::permissions(dir.path(), fs::perms::others_read | fs::perms::others_exec,
                      fs::perm_options::add);
      // Root may write anything: become nobody.
      if (::geteuid() == 0 &&
          (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
        return "cannot become nobody";
    }
    if (fault.trigger == Trigger::FileSizeLimit &&
        (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || !Lower(RLIMIT_FSIZE, 10)))
      return "cannot limit the file size";
    if (fault.trigger == Trigger::NoDescriptorsLeft && !Lower(RLIMIT_NOFILE, 64))
      return "cannot limit descriptors";
    std::string outcome = Outcome([&] {
      std::vector<int> spent;
      while (fault.trigger == Trigger::NoDescriptorsLeft) {
        int fd = ::open("/dev/null", O_RDONLY);
        if (fd < 0) break;
        spent.push_back(fd);
      }
      book->WriteEventToLogFile("x");
      for (int fd : spent) ::close(fd);
    });
    if (fault.alsoEnd) outcome += "\n" + Outcome([&] { book->EndLogFileEvents(); });
    return outcome;
  });
  std::string expected = Failed(fault.number, fault.firstLine);
  EXPECT_EQ(said, fault.alsoEnd ? expected + "\n" + expected : expected);
  if (fault.content) {
    EXPECT_EQ(test::ReadFile(path), fault.content);
  } else if (fault.log[0] != '/') {
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

constexpr const char* k67 = "Run Time Error Number 67 occurred.";
constexpr const char* k76 = "Run Time Error Number 76 occurred.";

INSTANTIATE_TEST_SUITE_P(
    Faults, RealFaultTest,
    ::testing::Values(
        Fault{"MissingFolderIs76", "missing/events.log", nullptr, Trigger::None, 76, k76, false},
        Fault{"FullDeviceIs61", "/dev/full", nullptr, Trigger::None, 61, "Disk is Full!", true},
        Fault{"ReadOnlyLogIs75", "events.log", "kept\r\n", Trigger::ReadOnlyForAnotherUser, 75,
              "Path/File Error!", true},
        Fault{"FileSizeLimitIs61", "events.log", "0123456789", Trigger::FileSizeLimit, 61,
              "Disk is Full!", false},
        Fault{"DescriptorExhaustionIs67", "events.log", "", Trigger::NoDescriptorsLeft, 67, k67,
              false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace jotwell
