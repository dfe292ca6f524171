// Helpers for tests that read error reports or steer where they are logged.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "errors/frmErrMn.h"
#include "platform/component.h"
#include "support/TestSupport.h"

namespace jotwell::test {

// Pushing past the trace's reserve makes AddCall allocate, which
// FailNextAllocation can then break.
inline constexpr size_t kTraceCapacity = frmErrMn::kInitialTraceCapacity;

inline void FillTrace(size_t count) {
  for (size_t i = 0; i < count; ++i) ErrorManager().AddCall({"Filler![Sub Fill]"});
}

inline VariantArray Array(std::vector<Variant> elements, Long lower = 0) {
  return VariantArray::OneDimensional(std::move(elements), lower);
}

// A report text split at its CR LF line breaks.
inline std::vector<std::string> ReportLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end = 0; end != std::string::npos; start = end + 2) {
    end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
  }
  return lines;
}

// The unindented lines of a report section ("Arguments:", "Variables:",
// "Call Stack:"); empty when the section is absent.
inline std::vector<std::string> SectionOf(const std::vector<std::string>& lines, const std::string& heading) {
  std::vector<std::string> entries;
  auto it = std::find(lines.begin(), lines.end(), std::string(8, ' ') + heading);
  if (it == lines.end()) return entries;
  for (++it; it != lines.end() && it->rfind(std::string(12, ' '), 0) == 0; ++it)
    entries.push_back(it->substr(12));
  return entries;
}

inline std::vector<std::string> SectionOf(const std::string& report, const std::string& heading) {
  return SectionOf(ReportLines(report), heading);
}

// The names of a section's value lines.
inline std::vector<std::string> NamesOf(const std::vector<std::string>& valueLines) {
  std::vector<std::string> names;
  for (const std::string& line : valueLines)
    names.push_back(line.substr(0, std::min({line.find("() = ("), line.find(" = "),
                                             line.find(": Missing")})));
  return names;
}

// Makes the library believe it was loaded from `folder`, so that its error
// log goes there, for as long as it lives.
class LibraryIn final : public platform::ForwardingComponentFile {
 public:
  explicit LibraryIn(const std::filesystem::path& folder) : folder_(folder) {
    platform::Group<platform::ComponentFile>::Install(this);
  }
  ~LibraryIn() override { platform::Group<platform::ComponentFile>::Install(nullptr); }
  String LibraryPath() override { return (folder_ / "libjotwell.so").string(); }
  std::string ErrorLog() const { return (folder_ / "Jotwell.ErrorLog.txt").string(); }

 private:
  std::filesystem::path folder_;
};

// A scripted Desktop and an error log of the test's own in a temporary
// folder, so that reports stay apart from other tests'.
class IsolatedReportsTest : public ScriptedDesktopTest {
 protected:
  void SetUp() override {
    ScriptedDesktopTest::SetUp();
    library = std::make_unique<LibraryIn>(dir.path());
  }
  void TearDown() override {
    library.reset();
    ScriptedDesktopTest::TearDown();
  }
  std::vector<std::string> Reports() const {
    std::vector<std::string> texts;
    for (const auto& entry : desktop->Shown(testing::ScriptedDesktop::Kind::Report))
      texts.push_back(entry.text);
    return texts;
  }

  TempDir dir;
  std::unique_ptr<LibraryIn> library;
};

}  // namespace jotwell::test
