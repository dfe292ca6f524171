#include "platform/win32/SystemError.h"

#include "platform/Refusal.h"

namespace jotwell::platform::win32 {
namespace {

// Codes newer than some headers that name them.
constexpr DWORD kDirectoryNotSupported = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED
constexpr DWORD kDiskQuotaExceeded = 1295;     // ERROR_DISK_QUOTA_EXCEEDED

}  // namespace

Long RunTimeErrorNumberOf(DWORD code) {
  switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE: return errnum::kDiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case kDirectoryNotSupported:
    case ERROR_CANT_RESOLVE_FILENAME: return errnum::kPathFileAccess;
    // A file where a folder is wanted counts as a missing folder.
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY: return errnum::kPathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES: return errnum::kTooManyFiles;
    case ERROR_LOCK_VIOLATION:
    case ERROR_SHARING_VIOLATION: return errnum::kPermissionDenied;
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED: return errnum::kDeviceUnavailable;
    default: return errnum::kDeviceIO;
  }
}

RuntimeError ErrorFromCode(DWORD code) {
  return RuntimeError(RunTimeErrorNumberOf(code), static_cast<Long>(code));
}

RuntimeError LastSystemError() { return ErrorFromCode(GetLastError()); }

bool Refuse(const RuntimeError& why) {
  NoteRefusal(why);
  return false;
}

bool RefuseForLastError() { return Refuse(LastSystemError()); }

}  // namespace jotwell::platform::win32
