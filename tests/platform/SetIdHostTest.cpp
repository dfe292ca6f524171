// A set-ID host runs with rights its caller lacks, in an environment its
// caller chose: the caller's HOME and XDG folders must choose neither the
// files it writes nor the library it loads, and no desktop agent starts
// with its rights. The example host runs here as set-user-ID nobody,
// started by root and pointed at folders of a caller that anyone may
// write; nobody's own home, /nonexistent, does not exist, so each service
// refuses instead.
#include <set>

#include "support/TestSupport.h"

namespace jotwell {
namespace {

namespace fs = std::filesystem;

struct HostRun {
  const char* name;
  bool setId;
  const char* arguments;  // to the example host, run in the caller's folder
  const char* printed;    // part of what it printed, its exit status last
  const char* written;    // what it added to the caller's folders, "" for nothing
};

void PrintTo(const HostRun& run, std::ostream* out) { *out << run.name; }

// Everything under `folder`, named from there.
std::set<std::string> EntriesUnder(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.insert(fs::relative(entry.path(), folder));
  return names;
}

class SetIdHostTest : public ::testing::TestWithParam<HostRun> {};

TEST_P(SetIdHostTest, TheCallersEnvironmentChoosesNothing) {
  const HostRun& run = GetParam();
  test::TempDir dir;
  const std::string caller = dir.File("caller"), kClass = "{04229DBD-EDDA-4E43-B75F-66A8ECD82D0C}";
  std::string host = run.setId ? dir.File("host") : JOTWELL_JOTBOOK;
  if (run.setId) {
    fs::copy_file(JOTWELL_JOTBOOK, host);
    ASSERT_EQ(::chown(host.c_str(), 65534, 65534), 0);
    fs::permissions(host, fs::perms(04755));
  }
  test::WriteFile(caller + "/notes.txt", "notes");
  test::WriteFile(caller + "/data/jotwell/components.ini",
                  "[ProgID Jotwell.JotBook]\nCLSID=" + kClass + "\n[CLSID " + kClass +
                      "]\nInprocServer=" + caller + "/planted.so\n");
  fs::permissions(dir.path(), fs::perms(0755));
  for (const std::string& folder : {caller, caller + "/data"})
    fs::permissions(folder, fs::perms::all);
  std::set<std::string> expected = EntriesUnder(caller);
  if (*run.written) expected.insert(run.written);
  // Leak checking traces the process, which a set-ID process forbids.
  std::system(("cd " + caller + " && HOME=" + caller + " XDG_DATA_HOME=" + caller +
               "/data XDG_STATE_HOME=" + caller +
               "/state DISPLAY=:65000 ASAN_OPTIONS=detect_leaks=0 " + host + " " + run.arguments +
               " >../out 2>&1; echo exit $? >>../out")
                  .c_str());
  EXPECT_THAT(test::ReadFile(dir.File("out")), ::testing::HasSubstr(run.printed));
  EXPECT_EQ(EntriesUnder(caller), expected) << test::ReadFile(dir.File("out"));
}

const HostRun kRuns[] = {
    {"RecentListOfAPlainHost", false, "recent notes.txt", "exit 0", "data/recently-used.xbel"},
    {"RecentList", true, "recent notes.txt", "exit 1", ""},
    {"Trash", true, "trash notes.txt", "exit 1", ""},
    {"RegisteredLibrary", true, "call LogFileName", "REGDB_E_CLASSNOTREG", ""},
    {"Agent", true, "--windows strip-path missing",
     "jotwell: the desktop agent is not started in a set-ID process", ""}};
INSTANTIATE_TEST_SUITE_P(Each, SetIdHostTest, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace jotwell
