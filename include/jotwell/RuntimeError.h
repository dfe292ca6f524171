// The one way a failure travels inside the library: a run-time error number
// with its description and the platform's own error code.
#pragma once

#include <stdexcept>

#include "jotwell/Export.h"
#include "jotwell/ValueTypes.h"

namespace jotwell {

class JOTWELL_EXPORT RuntimeError : public std::runtime_error {
 public:
  // The description defaults to the standard text of the number.
  explicit RuntimeError(Long number, Long lastDllError = 0);
  RuntimeError(Long number, const String& description, Long lastDllError = 0);

  Long Number() const { return number_; }
  const char* Description() const { return what(); }
  Long LastDllError() const { return lastDllError_; }

 private:
  Long number_;
  Long lastDllError_;
};

// Run-time error numbers the library raises or reports by name.
namespace errnum {
inline constexpr Long kInvalidProcedureCall = 5;
inline constexpr Long kOutOfMemory = 7;
inline constexpr Long kOverflow = 6;
inline constexpr Long kSubscriptOutOfRange = 9;
inline constexpr Long kTypeMismatch = 13;
inline constexpr Long kInternalError = 51;
inline constexpr Long kBadFileNameOrNumber = 52;
inline constexpr Long kFileNotFound = 53;
inline constexpr Long kFileAlreadyOpen = 55;
inline constexpr Long kDeviceIO = 57;
inline constexpr Long kDiskFull = 61;
inline constexpr Long kTooManyFiles = 67;
inline constexpr Long kDeviceUnavailable = 68;
inline constexpr Long kPermissionDenied = 70;
inline constexpr Long kPathFileAccess = 75;
inline constexpr Long kPathNotFound = 76;
inline constexpr Long kErrorInLoadingDll = 48;
inline constexpr Long kDllFunctionNotFound = 453;
}  // namespace errnum

// The standard description of a run-time error number.
JOTWELL_EXPORT String DescriptionOf(Long number);

}  // namespace jotwell
