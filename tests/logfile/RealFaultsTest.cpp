// Real file-system faults, several of them in a child process that changes
// its user or its limits. Children report through their exit code.
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "LogTestSupport.h"
#include "errors/frmErrMn.h"

namespace jotwell {
namespace {

using test::InChild;
using test::OpenDescriptors;
using test::ReadFile;
using test::WriteFile;

class RealFaultTest : public test::LogTest {
 protected:
  // Runs `call` and counts what differs from a reported failure `number`
  // with the box line `firstLine`, a normal return and no descriptor left
  // open; each difference is described on standard error.
  int Mismatches(const std::function<void()>& call, Integer number,
                 const std::string& firstLine) {
    recorder.errors.clear();
    size_t boxesBefore = Boxes().size();
    int descriptorsBefore = OpenDescriptors();
    call();
    int mismatches = 0;
    auto expect = [&](bool ok, const std::string& what) {
      if (ok) return;
      ++mismatches;
      std::fprintf(stderr, "mismatch: %s\n", what.c_str());
    };
    expect(recorder.errors == std::vector<Integer>{number},
           "event numbers " + (recorder.errors.empty() ? std::string("none")
                                                       : std::to_string(recorder.errors[0])));
    std::vector<std::string> boxes = Boxes();
    std::string box = firstLine + "\r\nUnable to open " + book->LogFileName() +
                      " on the local drive.\r\n" + test::kConsult;
    expect(boxes.size() == boxesBefore + 1 && boxes.back() == box,
           "box " + (boxes.empty() ? std::string("none") : boxes.back()));
    expect(OpenDescriptors() == descriptorsBefore, "descriptors left open");
    expect(ErrorManager().CallDepth() == 0, "call trace not empty");
    expect(recorder.successes == 0, "success raised");
    return mismatches;
  }
};

TEST_F(RealFaultTest, LogInAMissingFolderIs76) {
  book->LogFileName(dir.File("missing/events.log"));
  EXPECT_EQ(Mismatches([&] { book->WriteEventToLogFile("x"); }, 76,
                       "Run Time Error Number 76 occurred."),
            0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST_F(RealFaultTest, FullDeviceIs61ForEventsAndEndLines) {
  book->LogFileName("/dev/full");
  EXPECT_EQ(Mismatches([&] { book->WriteEventToLogFile("x"); }, 61, "Disk is Full!"), 0);
  EXPECT_EQ(Mismatches([&] { book->EndLogFileEvents(); }, 61, "Disk is Full!"), 0);
}

TEST_F(RealFaultTest, ReadOnlyLogIs75AndStaysUntouched) {
  WriteFile(logPath, "kept\r\n");
  namespace fs = std::filesystem;
  fs::permissions(logPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.path(), fs::perms::others_read | fs::perms::others_exec,
                  fs::perm_options::add);
  int code = InChild([&] {
    // Root may write anything: become nobody first.
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      return 90;
    return Mismatches([&] { book->WriteEventToLogFile("x"); }, 75, "Path/File Error!") +
           Mismatches([&] { book->EndLogFileEvents(); }, 75, "Path/File Error!");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadFile(logPath), "kept\r\n");
}

TEST_F(RealFaultTest, FileSizeLimitIs61) {
  WriteFile(logPath, "0123456789");
  int code = InChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 10;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 91;
    return Mismatches([&] { book->WriteEventToLogFile("x"); }, 61, "Disk is Full!");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadFile(logPath), "0123456789");
}

TEST_F(RealFaultTest, DescriptorExhaustionIs67) {
  WriteFile(logPath, "");
  int code = InChild([&] {
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(OpenDescriptors() + 32);
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) return 92;
    return Mismatches(
        [&] {
          std::vector<int> spent;
          for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) spent.push_back(fd);
          book->WriteEventToLogFile("x");
          for (int fd : spent) ::close(fd);
        },
        67, "Run Time Error Number 67 occurred.");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadFile(logPath), "");
}

}  // namespace
}  // namespace jotwell
