// Shared helpers for the library's tests.
#pragma once

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jotwell/RuntimeError.h"
#include "jotwell/testing/ScriptedDesktop.h"
#include "support/AllocationCounter.h"
#include "support/ScopedInstall.h"

namespace jotwell::test {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
// Lines of text: a log's, a report section's, the boxes shown.
using Lines = std::vector<std::string>;

// A fresh temporary folder, removed with its contents afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` (UTF-8, "/" between folders) within the folder, with the
  // system's own separators.
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Runs `work` on a new thread, which starts with fresh per-thread library
// state (including regional settings), and waits for it; what it throws is
// thrown again here.
void OnFreshThread(const std::function<void()>& work);

// A path given in UTF-8, as the library takes paths, for the standard
// library's file functions.
std::filesystem::path PathOf(const std::string& utf8);

// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
// Creates the file's folders first.
void WriteFile(const std::string& path, const std::string& bytes);
// The files, folders and other handles this process holds open.
int OpenDescriptors();

// Sets an environment variable and puts back its old value on destruction.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Matches a call that throws the run-time error `number`.
inline auto FailsWith(Long number) { return ::testing::Throws<RuntimeError>(::testing::Property(&RuntimeError::Number, number)); }

// Installs a ScriptedDesktop for the test and restores the default after.
class ScriptedDesktopTest : public ::testing::Test {
 protected:
  std::shared_ptr<testing::ScriptedDesktop> desktop = std::make_shared<testing::ScriptedDesktop>();
  ScopedDesktop installedDesktop{desktop};
};

// The texts of the message boxes `desktop` has shown.
inline Lines BoxTexts(const testing::ScriptedDesktop& desktop) {
  Lines texts;
  for (const auto& shown : desktop.Shown(testing::ScriptedDesktop::Kind::MessageBox))
    texts.push_back(shown.text);
  return texts;
}

}  // namespace jotwell::test
