// Helpers for tests that read error reports or steer where they are logged.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "errors/Trap.h"
#include "errors/frmErrMn.h"
#include "platform/component.h"
#include "support/TestSupport.h"

namespace jotwell::test {

// Fills the trace to its reserve, so that the next entry has to grow it, and
// makes that growth fail.
inline void FailNextTraceEntry() {
  while (ErrorManager().CallDepth() < frmErrMn::kInitialTraceCapacity) ErrorManager().AddCall({"Filler![Sub Fill]"});
  FailNextAllocation();
}

// The traced procedure most tests probe the trap with.
constexpr Procedure kProbe = "Module1![Function Probe]";

// A statement that fails with error `number` on its first run only.
inline auto FailingOnce(Long number) {
  return [number, failed = false]() mutable {
    if (!std::exchange(failed, true)) throw RuntimeError(number);
  };
}

inline VariantArray Array(std::vector<Variant> elements, Long lower = 0) { return VariantArray::OneDimensional(std::move(elements), lower); }

// Matches a report of error `number` in the procedure titled `title` ("Sub
// Name") of `module`.
inline auto IsReport(Long number, const std::string& module, const std::string& title) {
  return ::testing::AllOf(::testing::HasSubstr("        Number: " + std::to_string(number) + "\r\n"),
                          ::testing::HasSubstr("    Procedure [" + title + "] in Module [" + module + "]\r\n"));
}

// The entries of a report section ("Arguments:", "Variables:", "Call
// Stack:"), without their indent; empty when the section is absent.
inline Lines SectionOf(const std::string& report, const std::string& heading) {
  Lines entries;
  size_t at = report.find("\r\n        " + heading + "\r\n");
  if (at == std::string::npos) return entries;
  while ((at = report.find("\r\n", at + 2)) != std::string::npos && report.compare(at + 2, 12, std::string(12, ' ')) == 0)
    entries.push_back(report.substr(at + 14, report.find("\r\n", at + 2) - at - 14));
  return entries;
}

// A scripted Desktop, and a library that believes it was loaded from a
// temporary folder of the test's own, so that its error log stays apart.
class IsolatedReportsTest : public ScriptedDesktopTest, public platform::ForwardingComponentFile {
 protected:
  String LibraryPath() override {
    if (libraryLost) throw RuntimeError(errnum::kFileNotFound);
    return dir.File("libjotwell.so");
  }
  std::string ErrorLog() const { return dir.File("Jotwell.ErrorLog.txt"); }
  Lines Reports() const {
    Lines texts;
    for (const auto& shown : desktop->Shown(testing::ScriptedDesktop::Kind::Report)) texts.push_back(shown.text);
    return texts;
  }

  TempDir dir;
  // The error log's fallback, among the user's folders.
  ScopedEnv stateHome{"XDG_STATE_HOME", dir.File("state")},
      localData{"LOCALAPPDATA", dir.File("state")};
  bool libraryLost = false;  // the platform cannot tell where the library is
  ScopedInstall<platform::ComponentFile> installed{*this};
};

}  // namespace jotwell::test
