#include "platform/posix/Errno.h"

#include <cerrno>

#include "platform/Refusal.h"

namespace jotwell::platform::posix {

Long RunTimeErrorNumberOf(int errnoValue) {
  switch (errnoValue) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return errnum::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case ENAMETOOLONG:
    case ELOOP:
      return errnum::kPathFileAccess;
    case ENOENT:
    case ENOTDIR:
      return errnum::kPathNotFound;
    case EMFILE:
    case ENFILE:
      return errnum::kTooManyFiles;
    case EAGAIN:
    case EBUSY:
      return errnum::kPermissionDenied;
    case ENXIO:
    case ENODEV:
      return errnum::kDeviceUnavailable;
    default:
      return errnum::kDeviceIO;
  }
}

RuntimeError ErrorFromErrno(int errnoValue) {
  return RuntimeError(RunTimeErrorNumberOf(errnoValue), errnoValue);
}

RuntimeError NotARegularFile(int errnoValue) {
  return RuntimeError(errnum::kPathFileAccess, errnoValue);
}

bool Refuse(const RuntimeError& why) {
  NoteRefusal(why);
  return false;
}

}  // namespace jotwell::platform::posix
