#include "LogTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/locale.h"

namespace jotwell::test {

void EventRecorder::SuccessfulWriteToLogFile() {
  ++successes;
  if (onSuccess) onSuccess();
}

void EventRecorder::ErrorWritingToLogFile(Integer& RunTimeErrorNum) {
  errors.push_back(RunTimeErrorNum);
  if (onError) onError(RunTimeErrorNum);
}

FaultyFiles::FaultyFiles() : native_(platform::Group<platform::FileSystem>::Native()) {
  platform::Group<platform::FileSystem>::Install(this);
}

FaultyFiles::~FaultyFiles() { platform::Group<platform::FileSystem>::Install(nullptr); }

bool FaultyFiles::CanOpen(const String& path) { return native_.CanOpen(path); }
std::int64_t FaultyFiles::Length(const String& path) { return native_.Length(path); }
void FaultyFiles::AppendQuietly(const String& path, std::string_view bytes) {
  native_.AppendQuietly(path, bytes);
}
platform::LockedFile FaultyFiles::OpenLockedAppend(const String& path) {
  return native_.OpenLockedAppend(path);
}
void FaultyFiles::Truncate(platform::NativeFile file) { native_.Truncate(file); }
void FaultyFiles::Write(platform::NativeFile file, std::string_view bytes) {
  if (writeError) throw RuntimeError(*writeError);
  native_.Write(file, bytes);
}
void FaultyFiles::Close(platform::NativeFile file) { native_.Close(file); }
bool FaultyFiles::EraseFile(const String& path) { return native_.EraseFile(path); }
String FaultyFiles::VolumeFolderOf(const String& path) {
  if (volumeError) throw RuntimeError(*volumeError);
  return native_.VolumeFolderOf(path);
}
std::uint64_t FaultyFiles::FreeBytes(const String& folder) {
  freeSpaceAskedFor.push_back(folder);
  return freeBytes ? *freeBytes : native_.FreeBytes(folder);
}

void LogTest::SetUp() {
  ScriptedDesktopTest::SetUp();
  logPath = dir.File("events.log");
  book = std::make_unique<JotBook>();
  book->LogFileName(logPath);
  book->Advise(recorder);
  exclamationsAtStart_ = desktop->Exclamations();
}

int LogTest::Exclamations() const { return desktop->Exclamations() - exclamationsAtStart_; }

void LogTest::TearDown() {
  book.reset();
  ScriptedDesktopTest::TearDown();
}

std::vector<std::string> LogTest::Boxes() const {
  std::vector<std::string> texts;
  for (const auto& entry : desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox))
    texts.push_back(entry.text);
  return texts;
}

std::vector<std::string> LogTest::LogLines() const {
  std::string bytes = ReadFile(logPath);
  EXPECT_TRUE(bytes.ends_with("\r\n")) << bytes;
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

namespace {

std::string DatePattern() {
  std::string separator;
  for (char c : platform::UserLocale().DateSeparator()) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) separator += '\\';
    separator += c;
  }
  return "\\d\\d" + separator + "\\d\\d" + separator + "\\d{4}";
}

}  // namespace

std::regex StartLinePattern() {
  return std::regex("Jotwell Logfile started \\S.* " + DatePattern());
}

std::regex EventLinePattern(const std::string& textPattern) {
  return std::regex(DatePattern() + " \\S.* - " + textPattern);
}

std::regex EndLinePattern() { return std::regex("Jotwell Logfile ended \\S.* " + DatePattern()); }

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

int InChild(const std::function<int()>& check) { return WaitForChild(StartChild(check)); }

int StartChild(const std::function<int()>& check) {
  std::fflush(nullptr);
  pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    int code = 100;
    try {
      code = check();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "child: %s\n", e.what());
    }
    std::fflush(nullptr);
    ::_exit(code);
  }
  return pid;
}

int WaitForChild(int processId) {
  if (processId < 0) return -1;
  int status = 0;
  while (::waitpid(processId, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace jotwell::test
