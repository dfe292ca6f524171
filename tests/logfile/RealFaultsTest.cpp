// Real file-system faults, each met by a child process, which may change its
// user or its limits first, and names of something other than a regular file.
// A log nobody may write but not read is no fault: it is written as new.
#include <fcntl.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <fstream>

#include "LogTestSupport.h"
#include "support/Children.h"
#include "support/MountSupport.h"

namespace jotwell {
namespace {

using namespace test;
namespace fs = std::filesystem;

enum Trigger { None, ReadOnly, WriteOnly, SizeLimit, NoDescriptorsLeft, Fifo, ReadFifo, Folder };
// What ending the log meets after the failed write.
enum Ending { Untried, SameFault, NoLog };

struct Fault {
  const char* name;
  Trigger trigger;
  const char* content;  // the log before, which must survive; null: no file
  Integer number;       // 0: written
  const char* firstLine;
  Ending ending;
  const char* log = "events.log";  // in the temporary folder unless absolute
};
class RealFaultTest : public LogTest, public ::testing::WithParamInterface<Fault> {
 protected:
  // Puts the fault in place, in the child; says why it could not.
  std::string Arm(const std::string& path) {
    switch (GetParam().trigger) {
      case ReadOnly:
      case WriteOnly:  // to the user nobody
        fs::permissions(path, fs::perms(GetParam().trigger == ReadOnly ? 0444 : 0222));
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        return BecomeNobody() ? "" : "cannot become nobody";
      case SizeLimit:  // a few bytes past the log's end: the write stops half way
        if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) return "cannot ignore SIGXFSZ";
        return Limit(RLIMIT_FSIZE, std::strlen(GetParam().content) + 5) ? "" : "cannot limit the file size";
      case NoDescriptorsLeft: return Limit(RLIMIT_NOFILE, 64) ? "" : "cannot limit descriptors";
      case ReadFifo:
        return (reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK)) >= 0 ? ""
                                                                           : "cannot read the FIFO";
      default: return "";
    }
  }
  int reader = -1;
};

TEST_P(RealFaultTest, IsReportedOnceLeavesNothingOpenAndNeverBlocks) {
  const Fault& fault = GetParam();
  const std::string path = fault.log[0] == '/' ? fault.log : dir.File(fault.log);
  if (fault.content) WriteFile(path, fault.content);
  ASSERT_TRUE(
      fault.trigger < Fifo ||
      (fault.trigger == Folder ? fs::create_directory(path) : ::mkfifo(path.c_str(), 0666) == 0));
  if (fault.log[0] == '/') book->MaximumLogFileSize(-1);  // no free-space warning, whatever the volume
  // The sanitizers check a virtual call's type once per process, with a pipe
  // of their own: meet the failure path while descriptors remain.
  if (fault.trigger == NoDescriptorsLeft) {
    book->LogFileName(dir.File("missing/warm-up.log"));
    book->WriteEventToLogFile("x");
  }
  book->LogFileName(path);
  std::string said = InChild([&] {
    if (std::string refused = Arm(path); !refused.empty()) return refused;
    std::string outcome = Outcome([&] {
      std::vector<int> spent;
      for (int fd; fault.trigger == NoDescriptorsLeft && (fd = ::open("/dev/null", O_RDONLY)) >= 0;) spent.push_back(fd);
      book->WriteEventToLogFile("x");
      for (int fd : spent) ::close(fd);
    });
    if (char byte; reader >= 0 && ::read(reader, &byte, 1) != 0)
      outcome += "\nthe FIFO was written to, or is still open";
    outcome += book->DoesLogFileExist() == True ? "\nexists" : "\nmissing";
    if (fault.ending != Untried) outcome += "\n" + Outcome([&] { book->EndLogFileEvents(); });
    return outcome;
  }, std::chrono::seconds(10));
  const std::string failed = fault.number ? Failed(fault.number, fault.firstLine) : Succeeded(1);
  std::string expected = failed + (fault.content && fault.number ? "\nexists" : "\nmissing");
  if (fault.ending != Untried) expected += "\n" + (fault.ending == SameFault ? failed : NotFound());
  EXPECT_EQ(said, expected);
  if (fault.content) {
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    book->WriteEventToLogFile("next");  // the log, byte for byte as before, takes the next event cleanly
    EXPECT_EQ(Shape(After(path, fault.content)),
              (fault.number ? Lines{"- next"} : Lines{"started", "", "- x", "- next"}));
  } else if (fault.log[0] != '/') {
    EXPECT_EQ(fs::exists(path), fault.trigger >= Fifo);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RealFaultTest,
    ::testing::Values(
        Fault{"MissingFolderIs76", None, nullptr, 76, "Run Time Error Number 76 occurred.", NoLog,
              "missing/events.log"},
        Fault{"ReadOnlyLogIs75", ReadOnly, "kept\r\n", 75, "Path/File Error!", SameFault},
        // Unreadable, so missing to the existence test: started afresh.
        Fault{"WriteOnlyEmptyLogIsStarted", WriteOnly, "", 0, "", Untried},
        Fault{"FileSizeLimitHalfWayIs61", SizeLimit, "kept line\r\n", 61, "Disk is Full!",
              SameFault},
        Fault{"NoDescriptorsLeftIs67", NoDescriptorsLeft, "", 67,
              "Run Time Error Number 67 occurred.", Untried},
        // Never opened in a way that could block: no log to write or end.
        Fault{"FifoWithoutReaderIs75", Fifo, nullptr, 75, "Path/File Error!", NoLog},
        Fault{"FifoWithAReaderIs75", ReadFifo, nullptr, 75, "Path/File Error!", NoLog},
        Fault{"FolderIs75", Folder, nullptr, 75, "Path/File Error!", NoLog},
        Fault{"DeviceIs75", None, nullptr, 75, "Path/File Error!", NoLog, "/dev/null"}),
    [](const auto& info) { return info.param.name; });

// A full disk takes only part of an event or end line: the log is cut back
// to what it was, and takes the next event once there is room again. The
// child mounts a small file system of its own, which needs root.
TEST_F(LogTest, AFullDiskLeavesTheLogAsItWas) {
  // The log ends a few bytes short of its file system's page, and nothing
  // is left after it.
  const std::string small = dir.File("small"), log = small + "/events.log", kept = std::string(4096 - 14, 'k') + "\r\n";
  fs::create_directory(small);
  book->LogFileName(log);
  std::string said = InChild([&]() -> std::string {
    if (!MountPrivately("tmpfs", small.c_str(), "size=64k"))
      return std::string("skip: cannot mount a small file system: ") + std::strerror(errno);
    FaultyFiles roomy;  // a full disk also warns of low space, which is not under test here
    roomy.freeBytes = 1 << 30;
    WriteFile(log, kept);
    for (std::ofstream f(small + "/filler"); f << std::string(4096, 'f') << std::flush;) continue;
    std::string outcome = Outcome([&] { book->WriteEventToLogFile("an event longer than the room left"); }) + "\n" +
                          Outcome([&] { book->EndLogFileEvents(); }) + "\n[" + After(log, kept) + "]";
    fs::remove(small + "/filler");
    book->WriteEventToLogFile("next");
    return outcome + (Shape(After(log, kept)) == Lines{"- next"} ? "\nclean" : "\ntorn");
  });
  if (said.starts_with("skip: ")) GTEST_SKIP() << said;
  const std::string failed = Failed(61, "Disk is Full!");
  EXPECT_EQ(said, failed + "\n" + failed + "\n[]\nclean");
}

}  // namespace
}  // namespace jotwell
