// File numbers: each thread names its open files by numbers from 1 to 255,
// always handing out the lowest free one.
#pragma once

#include <array>
#include <optional>

#include "jotwell/ValueTypes.h"
#include "platform/files.h"

namespace jotwell {

class FileNumbers {
 public:
  static constexpr Integer kFirst = 1;
  static constexpr Integer kLast = 255;

  // The lowest number not in use. Throws too many files (67) when all are.
  Integer FreeFile() const;
  // Throws bad file name or number (52) for a number outside 1..255 and
  // file already open (55) for one in use.
  void CheckFree(Integer number) const;
  // Names `file` by `number`. Throws like CheckFree.
  void Bind(Integer number, platform::NativeFile file);
  // The file named by `number`. Throws bad file name or number (52).
  platform::NativeFile At(Integer number) const;
  // Frees `number` and returns the file it named. Throws like At.
  platform::NativeFile Unbind(Integer number);

 private:
  static std::size_t IndexOf(Integer number);

  std::array<std::optional<platform::NativeFile>, kLast> files_;
};

// The calling thread's file numbers.
FileNumbers& ThisThreadFileNumbers();

}  // namespace jotwell
