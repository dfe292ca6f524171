// Helpers shared by the event log's tests.
#pragma once

#include <regex>

#include "base/FileNumbers.h"
#include "errors/frmErrMn.h"
#include "jotwell/JotBook.h"
#include "platform/files.h"
#include "support/TestSupport.h"

namespace jotwell::test {

// Records the events a JotBook raises; optional hooks act inside them.
struct EventRecorder : JotBookEvents {
  void SuccessfulWriteToLogFile() override { ++successes; if (onSuccess) onSuccess(); }
  void ErrorWritingToLogFile(Integer& number) override { errors.push_back(number); if (onError) onError(number); }
  int successes = 0;
  std::vector<Integer> errors;
  std::function<void()> onSuccess;
  std::function<void(Integer&)> onError;
};

// The native files group, installed for its lifetime, with faults on demand.
class FaultyFiles : public platform::ForwardingFileSystem {
 public:
  std::optional<std::uint64_t> freeBytes;  // replaces the free-space figure
  std::optional<Long> volumeError;         // thrown by FreeBytes
  std::optional<Long> writeError;          // thrown by Write, once half went out
  std::vector<String> freeSpaceAskedFor;   // folders passed to FreeBytes
  std::function<void()> meanwhile;         // runs once, when free space is next asked

  ScopedInstall<platform::FileSystem> installed{*this};

  std::int64_t Write(platform::NativeFile f, std::string_view bytes) override {
    if (!writeError) return ForwardingFileSystem::Write(f, bytes);
    ForwardingFileSystem::Write(f, bytes.substr(0, bytes.size() / 2));
    throw RuntimeError(*writeError);
  }
  std::uint64_t FreeBytes(const String& folder) override {
    freeSpaceAskedFor.push_back(folder);
    return FreeBytesOr([&] { return ForwardingFileSystem::FreeBytes(folder); });
  }
  std::uint64_t FreeBytesOf(platform::NativeFile file) override {
    return FreeBytesOr([&] { return ForwardingFileSystem::FreeBytesOf(file); });
  }

 private:
  // The figure or fault asked for, else the real one.
  std::uint64_t FreeBytesOr(const std::function<std::uint64_t()>& real) {
    if (meanwhile) std::exchange(meanwhile, nullptr)();
    if (volumeError) throw RuntimeError(*volumeError);
    return freeBytes ? *freeBytes : real();
  }
};

inline constexpr const char* kConsult = "Please consult the author of the application for any assistance.";

// The lines of `bytes`, split at CR LF, with the date and time cut from the
// start line ("started"), event lines ("- " and the text) and the end line
// ("ended"). Bytes after the last CR LF come last, marked.
inline Lines Shape(const std::string& bytes) {
  const std::string date = "\\d\\d\\D\\d\\d\\D\\d{4}";  // whatever the regional separator
  const std::regex bound("Jotwell Logfile (started|ended) \\S.*? " + date), event(date + " \\S.*? (- .*)");
  Lines lines;
  size_t at = 0;
  for (size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2) {
    std::string line = bytes.substr(at, end - at);
    std::smatch parts;
    bool dated = std::regex_match(line, parts, bound) || std::regex_match(line, parts, event);
    lines.push_back(dated ? parts[1].str() : line);
  }
  if (at < bytes.size()) lines.push_back("[no line end] " + bytes.substr(at));
  return lines;
}

// What the file holds after `before`, which it must start with.
inline std::string After(const std::string& path, const std::string& before) {
  std::string bytes = ReadFile(path);
  return bytes.starts_with(before) ? bytes.substr(before.size()) : "[not as before] " + bytes.substr(0, 80);
}

// A scripted desktop, a temporary folder and a JotBook whose log lies in it,
// with a recorder connected.
class LogTest : public ScriptedDesktopTest {
 protected:
  LogTest() { book->LogFileName(logPath), book->Advise(recorder); }

  // The message boxes shown so far.
  std::vector<testing::ScriptedDesktop::Entry> Shown() const {
    return desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox);
  }
  Lines LogLines() const { return Shape(ReadFile(logPath)); }
  // What `call` did, to compare with Shows(): the events raised, the boxes
  // shown ("stop" marks a critical one, "note" any other), the exclamations
  // played, the descriptors and file numbers left open (numbers are handed
  // out lowest first), the trace depth after.
  std::string Outcome(const std::function<void()>& call) {
    recorder.errors.clear();
    const size_t boxes = Shown().size();
    const int exclamations = desktop->Exclamations(), descriptors = OpenDescriptors();
    call();
    std::string said = "events";
    for (Integer number : recorder.errors) said += " " + std::to_string(number);
    const auto shown = Shown();
    for (auto box = shown.begin() + boxes; box != shown.end(); ++box)
      said += (box->icon == MessageIcon::Critical ? " | stop " : " | note ") + box->text;
    const int leftOpen = OpenDescriptors() - descriptors + ThisThreadFileNumbers().FreeFile() - FileNumbers::kFirst;
    return said + " | exclamations " + std::to_string(desktop->Exclamations() - exclamations) + ", left open " +
           std::to_string(leftOpen) + ", depth " + std::to_string(ErrorManager().CallDepth()) + ", successes " +
           std::to_string(recorder.successes);
  }
  // The outcome of a call that showed nothing, `successes` in all so far.
  static std::string Succeeded(int successes) {
    return "events | exclamations 0, left open 0, depth 0, successes " + std::to_string(successes);
  }
  // The outcome of a call that raised `events` and showed only `box`: a
  // critical one comes with an exclamation.
  static std::string Shows(const std::string& events, const std::string& box, bool critical = true) {
    return "events" + events + (critical ? " | stop " : " | note ") + box + " | exclamations " +
           (critical ? "1" : "0") + ", left open 0, depth 0, successes 0";
  }
  // A failed open or write of the log.
  std::string Failed(Integer number, const std::string& firstLine) const {
    return Shows(" " + std::to_string(number),
                 firstLine + "\r\nUnable to open " + book->LogFileName() + " on the local drive.\r\n" + kConsult);
  }
  // Ending a log that is not there.
  std::string NotFound() const {
    return Shows("", "Device I/O Error!\r\nUnable to close " + book->LogFileName() + ", file not found!\r\n" +
                         kConsult);
  }

  TempDir dir;
  std::string logPath = dir.File("events.log");
  EventRecorder recorder;
  std::unique_ptr<JotBook> book = std::make_unique<JotBook>();  // gone before the recorder
};

}  // namespace jotwell::test
