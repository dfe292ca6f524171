#include "support/TestSupport.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace jotwell::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "jotwell-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
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

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  ::setenv(name, value.c_str(), 1);
}

}  // namespace jotwell::test
