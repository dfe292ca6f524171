// What the files group does with handles alike: own them, keep them as
// NativeFile, and ask what they are.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/files.h"

namespace jotwell::platform::win32 {

// Other opens may read, write, rename and delete the file meanwhile, as
// they may on every other platform.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

inline HANDLE HandleOf(NativeFile file) { return reinterpret_cast<HANDLE>(file); }
inline NativeFile NativeOf(HANDLE file) { return reinterpret_cast<NativeFile>(file); }

// Owns a file handle and closes it when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (*this) CloseHandle(handle_);
  }
  // False for the handle of an open that failed.
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Hands the handle on, to be closed by the taker.
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_;
};

// Opens the file `name` names, failing when it is missing; an invalid
// handle with the last error set when it does not open.
inline HANDLE OpenExistingFile(const std::wstring& name, DWORD access) {
  return CreateFileW(name.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// A file on a volume: no folder, pipe, console or other device.
inline bool IsDiskFile(HANDLE file) { return GetFileType(file) == FILE_TYPE_DISK; }

// Nothing when the system cannot tell, as for a device.
inline std::optional<FileIdentity> IdentityOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION facts{};
  if (!GetFileInformationByHandle(file, &facts)) return std::nullopt;
  return FileIdentity{facts.dwVolumeSerialNumber,
                      std::uint64_t{facts.nFileIndexHigh} << 32 | facts.nFileIndexLow};
}

}  // namespace jotwell::platform::win32
