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

#include "errors/frmErrMn.h"
#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "support/TestSupport.h"

namespace jotwell::test {

// Records the events a JotBook raises; optional hooks act inside them.
struct EventRecorder : JotBookEvents {
  void SuccessfulWriteToLogFile() override {
    ++successes;
    if (onSuccess) onSuccess();
  }
  void ErrorWritingToLogFile(Integer& number) override {
    errors.push_back(number);
    if (onError) onError(number);
  }
  int successes = 0;
  std::vector<Integer> errors;
  std::function<void()> onSuccess;
  std::function<void(Integer&)> onError;
};

// The native files group, installed for its lifetime, with faults on demand.
class FaultyFiles : public platform::FileSystem {
 public:
  FaultyFiles() { platform::Group<platform::FileSystem>::Install(this); }
  ~FaultyFiles() override { platform::Group<platform::FileSystem>::Install(nullptr); }

  std::optional<std::uint64_t> freeBytes;  // replaces the free-space figure
  std::optional<Long> volumeError;         // thrown by VolumeFolderOf
  std::optional<Long> writeError;          // thrown by Write
  std::vector<String> freeSpaceAskedFor;   // folders passed to FreeBytes

  bool CanOpen(const String& p) override { return native_.CanOpen(p); }
  std::int64_t Length(const String& p) override { return native_.Length(p); }
  void AppendQuietly(const String& p, std::string_view b) override { native_.AppendQuietly(p, b); }
  platform::LockedFile OpenLockedAppend(const String& p) override {
    return native_.OpenLockedAppend(p);
  }
  void Truncate(platform::NativeFile f) override { native_.Truncate(f); }
  void Write(platform::NativeFile f, std::string_view bytes) override {
    if (writeError) throw RuntimeError(*writeError);
    native_.Write(f, bytes);
  }
  void Close(platform::NativeFile f) override { native_.Close(f); }
  bool EraseFile(const String& p) override { return native_.EraseFile(p); }
  String VolumeFolderOf(const String& p) override {
    if (volumeError) throw RuntimeError(*volumeError);
    return native_.VolumeFolderOf(p);
  }
  std::uint64_t FreeBytes(const String& folder) override {
    freeSpaceAskedFor.push_back(folder);
    return freeBytes ? *freeBytes : native_.FreeBytes(folder);
  }

 private:
  platform::FileSystem& native_ = platform::Group<platform::FileSystem>::Native();
};

// A scripted desktop, a temporary folder and a JotBook whose log lies in it,
// with a recorder connected.
class LogTest : public ScriptedDesktopTest {
 protected:
  void SetUp() override;
  void TearDown() override { book.reset(), ScriptedDesktopTest::TearDown(); }

  // The message boxes shown so far, each as its prompt lines joined by CR LF.
  std::vector<std::string> Boxes() const;
  // The log file's lines, split at CR LF; the file must end with CR LF.
  std::vector<std::string> LogLines() const;
  // What `call` did, as one line to compare with Failed(): the events, the
  // boxes it showed, the descriptors it left open, the trace depth after it.
  std::string Outcome(const std::function<void()>& call);
  std::string Failed(Integer number, const std::string& firstLine) const;

  TempDir dir;
  std::string logPath = dir.File("events.log");
  std::unique_ptr<JotBook> book;
  EventRecorder recorder;
};

// The box of a failed open or write of `path`.
std::string FileErrorBox(const std::string& firstLine, const std::string& path);
inline constexpr const char* kConsult =
    "Please consult the author of the application for any assistance.";

// Patterns of the three kinds of line; event lines for a text pattern.
std::regex StartLine();
std::regex EventLine(const std::string& textPattern);
std::regex EndLine();
MATCHER_P(Matches, pattern, "") { return std::regex_match(arg, pattern); }

// Runs each piece of work in a forked child, all side by side, and returns
// what each returned, or how it failed.
std::vector<std::string> InChildren(const std::vector<std::function<std::string()>>& works);
inline std::string InChild(const std::function<std::string()>& work) {
  return InChildren({work})[0];
}

}  // namespace jotwell::test
