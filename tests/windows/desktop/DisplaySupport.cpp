#include "windows/desktop/DisplaySupport.h"

#include <atomic>
#include <filesystem>

namespace jotwell::test {
namespace {

// Wine's own name for a Windows path on the Unix side.
std::string UnixPathOf(const std::filesystem::path& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  std::string unix = name ? name : "";
  if (name) ::HeapFree(::GetProcessHeap(), 0, name);
  return unix;
}

}  // namespace

// Wine starts a Unix program but gives no handle to wait on: the command
// says it is done by renaming its output.
std::string Unix(const std::string& command) {
  static TempDir scratch;
  static std::atomic<int> serial;
  const std::string name = "command" + std::to_string(++serial);
  const std::string unixName = UnixPathOf(scratch.path()) + "/" + name;
  WriteFile(scratch.File(name + ".sh"), "timeout -s KILL 10 " + command + " >'" + unixName +
                                            ".out' 2>/dev/null; mv '" + unixName + ".out' '" +
                                            unixName + ".done'\n");
  std::wstring line = L"/bin/sh \"" + PathOf(unixName + ".sh").wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    ADD_FAILURE() << "could not start " << command;
    return "";
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  std::string done = scratch.File(name + ".done");
  // Past the kill, the command has a few seconds to say it ended.
  if (!Eventually([&] { return std::filesystem::exists(PathOf(done)); }, std::chrono::seconds(15)))
    ADD_FAILURE() << "no end of " << command;
  return ReadFile(done);
}

// The window paints itself first, in its own thread.
void Screenshot(HWND window, const std::string& name) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  std::filesystem::create_directories(PathOf(JOTWELL_SCREENSHOTS));
  Unix("import -window " + XWindowOf(window) + " '" + UnixPathOf(PathOf(JOTWELL_SCREENSHOTS)) +
       "/" + name + ".png'");
}

}  // namespace jotwell::test
