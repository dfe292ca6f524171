// Helpers shared by the event log's tests.
#pragma once

#include <gmock/gmock.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <thread>

#include "errors/frmErrMn.h"
#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "platform/locale.h"
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
class FaultyFiles : public platform::ForwardingFileSystem {
 public:
  FaultyFiles() { platform::Group<platform::FileSystem>::Install(this); }
  ~FaultyFiles() override { platform::Group<platform::FileSystem>::Install(nullptr); }

  std::optional<std::uint64_t> freeBytes;  // replaces the free-space figure
  std::optional<Long> volumeError;         // thrown by FreeBytes
  std::optional<Long> writeError;          // thrown by Write, once half went out
  std::vector<String> freeSpaceAskedFor;   // folders passed to FreeBytes

  void Write(platform::NativeFile f, std::string_view bytes) override {
    if (!writeError) return ForwardingFileSystem::Write(f, bytes);
    ForwardingFileSystem::Write(f, bytes.substr(0, bytes.size() / 2));
    throw RuntimeError(*writeError);
  }
  std::uint64_t FreeBytes(const String& folder) override {
    freeSpaceAskedFor.push_back(folder);
    if (volumeError) throw RuntimeError(*volumeError);
    return freeBytes ? *freeBytes : ForwardingFileSystem::FreeBytes(folder);
  }
};

inline constexpr const char* kConsult =
    "Please consult the author of the application for any assistance.";

// The box of a failed open or write of `path`.
inline std::string FileErrorBox(const std::string& firstLine, const std::string& path) {
  return firstLine + "\r\nUnable to open " + path + " on the local drive.\r\n" + kConsult;
}

// Patterns of the start, event (given the text's pattern) and end lines.
inline std::regex WithDate(const std::string& before, const std::string& after) {
  std::string separator;
  for (char c : platform::UserLocale().DateSeparator())
    separator += (std::strchr("\\^$.|?*+()[]{}", c) ? "\\" : "") + std::string(1, c);
  return std::regex(before + "\\d\\d" + separator + "\\d\\d" + separator + "\\d{4}" + after);
}
inline std::regex StartLine() { return WithDate("Jotwell Logfile started \\S.* ", ""); }
inline std::regex EventLine(const std::string& text) { return WithDate("", " \\S.* - " + text); }
inline std::regex EndLine() { return WithDate("Jotwell Logfile ended \\S.* ", ""); }
MATCHER_P(Matches, pattern, "") { return std::regex_match(arg, pattern); }

inline int OpenDescriptors() {
  auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// A scripted desktop, a temporary folder and a JotBook whose log lies in it,
// with a recorder connected.
class LogTest : public ScriptedDesktopTest {
 protected:
  void SetUp() override {
    ScriptedDesktopTest::SetUp();
    book = std::make_unique<JotBook>();
    book->LogFileName(logPath);
    book->Advise(recorder);
    exclamations_ = desktop->Exclamations();  // the first JotBook in a process shows About
  }
  void TearDown() override { book.reset(), ScriptedDesktopTest::TearDown(); }

  // The message boxes shown so far, also as their texts (prompt lines joined
  // by CR LF), and the exclamations played since the JotBook was made.
  std::vector<testing::ScriptedDesktop::Entry> Shown() const {
    return desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& entry : Shown()) texts.push_back(entry.text);
    return texts;
  }
  int Exclamations() const { return desktop->Exclamations() - exclamations_; }
  // The log's lines, split at CR LF; the file must end with CR LF.
  std::vector<std::string> LogLines() const {
    std::string bytes = ReadFile(logPath);
    EXPECT_TRUE(bytes.ends_with("\r\n")) << bytes;
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(bytes.substr(at, end - at));
    return lines;
  }
  // What `call` did, to compare with Failed(): the events raised, the boxes
  // shown, the descriptors left open, the trace depth after it.
  std::string Outcome(const std::function<void()>& call) {
    recorder.errors.clear();
    size_t boxes = Boxes().size();
    int descriptors = OpenDescriptors();
    call();
    std::string said = "events";
    for (Integer number : recorder.errors) said += " " + std::to_string(number);
    for (; boxes < Boxes().size(); ++boxes) said += " | box " + Boxes()[boxes];
    return said + " | " + std::to_string(OpenDescriptors() - descriptors) + " left open, depth " +
           std::to_string(ErrorManager().CallDepth()) + ", successes " +
           std::to_string(recorder.successes);
  }
  std::string Failed(Integer number, const std::string& firstLine) const {
    return "events " + std::to_string(number) + " | box " +
           FileErrorBox(firstLine, book->LogFileName()) + " | 0 left open, depth 0, successes 0";
  }

  TempDir dir;
  std::string logPath = dir.File("events.log");
  std::unique_ptr<JotBook> book;
  EventRecorder recorder;
  int exclamations_ = 0;
};

// Runs each piece of work in a forked child, all side by side; returns what
// each returned, with a note when a child threw or died. A child still
// running after `limit` is killed, so that a hang fails the test instead of
// holding up the run.
inline std::vector<std::string> InChildren(const std::vector<std::function<std::string()>>& works,
                                           std::chrono::seconds limit = std::chrono::seconds(60)) {
  constexpr size_t kRoom = 1 << 16;  // for each child's answer
  auto* answers = static_cast<char*>(::mmap(nullptr, kRoom * works.size(), PROT_READ | PROT_WRITE,
                                            MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  std::vector<pid_t> children;
  for (size_t i = 0; i < works.size(); ++i) {
    std::fflush(nullptr);
    if (children.emplace_back(::fork()) != 0) continue;
    std::string said;
    try {
      said = works[i]();
    } catch (const std::exception& e) {
      said = std::string("threw ") + e.what();
    }
    std::strncpy(answers + i * kRoom, said.c_str(), kRoom - 1);
    ::_exit(0);
  }
  std::vector<int> statuses(works.size(), -1);
  std::vector<bool> killed(works.size(), false);
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (size_t i = 0; i < works.size(); ++i) {
    while (children[i] > 0 && ::waitpid(children[i], &statuses[i], WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        killed[i] = ::kill(children[i], SIGKILL) == 0;
        ::waitpid(children[i], &statuses[i], 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  std::vector<std::string> said;
  for (size_t i = 0; i < works.size(); ++i) {
    said.emplace_back(answers + i * kRoom);
    if (killed[i]) said.back() += " [child killed: still running after " +
                                  std::to_string(limit.count()) + " s]";
    else if (statuses[i] != 0)
      said.back() += " [child failed, status " + std::to_string(statuses[i]) + "]";
  }
  ::munmap(answers, kRoom * works.size());
  return said;
}
inline std::string InChild(const std::function<std::string()>& work,
                           std::chrono::seconds limit = std::chrono::seconds(60)) {
  return InChildren({work}, limit)[0];
}

}  // namespace jotwell::test
