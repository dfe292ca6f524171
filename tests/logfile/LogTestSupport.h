// Helpers shared by the event log's tests.
#pragma once

#include <gmock/gmock.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "support/TestSupport.h"

namespace jotwell::test {

// Records the events a JotBook raises; optional hooks act inside them.
class EventRecorder : public JotBookEvents {
 public:
  void SuccessfulWriteToLogFile() override;
  void ErrorWritingToLogFile(Integer& RunTimeErrorNum) override;

  int successes = 0;
  std::vector<Integer> errors;
  std::function<void()> onSuccess;
  std::function<void(Integer&)> onError;
};

// The native files group with faults switched in on demand.
class FaultyFiles : public platform::FileSystem {
 public:
  FaultyFiles();
  ~FaultyFiles() override;  // restores the native group

  std::optional<std::uint64_t> freeBytes;  // replaces the free-space figure
  std::optional<Long> volumeError;         // thrown by VolumeFolderOf
  std::optional<Long> writeError;          // thrown by Write
  std::vector<String> freeSpaceAskedFor;   // folders passed to FreeBytes

  bool CanOpen(const String& path) override;
  std::int64_t Length(const String& path) override;
  void AppendQuietly(const String& path, std::string_view bytes) override;
  platform::LockedFile OpenLockedAppend(const String& path) override;
  void Truncate(platform::NativeFile file) override;
  void Write(platform::NativeFile file, std::string_view bytes) override;
  void Close(platform::NativeFile file) override;
  bool EraseFile(const String& path) override;
  String VolumeFolderOf(const String& path) override;
  std::uint64_t FreeBytes(const String& folder) override;

 private:
  platform::FileSystem& native_;
};

// A scripted desktop, a temporary folder and a JotBook whose log lies in it,
// with a recorder connected.
class LogTest : public ScriptedDesktopTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The message boxes shown so far, each as its prompt lines joined by CR LF.
  std::vector<std::string> Boxes() const;
  // Exclamation sounds played since the JotBook was created.
  int Exclamations() const;
  // The log file's lines, split at CR LF; the file must end with CR LF.
  std::vector<std::string> LogLines() const;

  TempDir dir;
  std::string logPath;
  std::unique_ptr<JotBook> book;
  EventRecorder recorder;

 private:
  int exclamationsAtStart_ = 0;
};

// Patterns of the three kinds of line, for a given event text pattern.
std::regex StartLinePattern();
std::regex EventLinePattern(const std::string& textPattern);
std::regex EndLinePattern();
// A line that matches one of those patterns as a whole.
MATCHER_P(LineMatches, pattern, "") { return std::regex_match(arg, pattern); }
inline constexpr const char* kConsult =
    "Please consult the author of the application for any assistance.";

// How many descriptors this process has open.
int OpenDescriptors();

// Runs `check` in a forked child and returns its exit code; 0 means every
// check passed. The child reports mismatches on standard error.
int InChild(const std::function<int()>& check);
// The same in two halves, for children that run side by side: StartChild
// returns the child's process id, WaitForChild its exit code.
int StartChild(const std::function<int()>& check);
int WaitForChild(int processId);

}  // namespace jotwell::test
