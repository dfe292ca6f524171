#include "support/TestSupport.h"

#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

namespace jotwell::test {

#ifdef _WIN32
static void SetVariable(const char* name, const char* value) {
  ::_putenv_s(name, value ? value : "");
}
int OpenDescriptors() {
  DWORD handles = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
  return static_cast<int>(handles);
}
#else
static void SetVariable(const char* name, const char* value) {
  value ? ::setenv(name, value, 1) : ::unsetenv(name);
}
int OpenDescriptors() {
  auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}
#endif

// A new name each try, until one is not taken; the user's alone, as
// mkdtemp would make it.
TempDir::TempDir() {
  std::mt19937_64 random(std::random_device{}());
  const auto folder = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = folder / ("jotwell-test-" + std::to_string(random() % 1000000000));
    if (!std::filesystem::create_directory(path_)) continue;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    return;
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void OnFreshThread(const std::function<void()>& work) {
  std::exception_ptr thrown;
  std::thread([&] { try { work(); } catch (...) { thrown = std::current_exception(); } }).join();
  if (thrown) std::rethrow_exception(thrown);
}

std::string TempDir::File(const std::string& name) const {
  std::string native = name;
  std::replace(native.begin(), native.end(), '/',
               static_cast<char>(std::filesystem::path::preferred_separator));
  return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator) + native;
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(PathOf(path).parent_path(), ignored);
  std::ofstream(PathOf(path), std::ios::binary | std::ios::trunc) << bytes;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  SetVariable(name, value.c_str());
}

ScopedEnv::~ScopedEnv() { SetVariable(name_, old_ ? old_->c_str() : nullptr); }

}  // namespace jotwell::test
