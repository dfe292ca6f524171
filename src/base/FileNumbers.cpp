#include "base/FileNumbers.h"

#include "jotwell/RuntimeError.h"
#include "platform/PerThread.h"

namespace jotwell {

Integer FileNumbers::FreeFile() const {
  for (Integer number = kFirst; number <= kLast; ++number)
    if (!files_[number - kFirst]) return number;
  throw RuntimeError(errnum::kTooManyFiles);
}

std::size_t FileNumbers::IndexOf(Integer number) {
  if (number < kFirst || number > kLast) throw RuntimeError(errnum::kBadFileNameOrNumber);
  return static_cast<std::size_t>(number - kFirst);
}

void FileNumbers::CheckFree(Integer number) const {
  if (files_[IndexOf(number)]) throw RuntimeError(errnum::kFileAlreadyOpen);
}

void FileNumbers::Bind(Integer number, platform::NativeFile file) {
  CheckFree(number);
  files_[IndexOf(number)] = file;
}

platform::NativeFile FileNumbers::At(Integer number) const {
  const std::optional<platform::NativeFile>& slot = files_[IndexOf(number)];
  if (!slot) throw RuntimeError(errnum::kBadFileNameOrNumber);
  return *slot;
}

platform::NativeFile FileNumbers::Unbind(Integer number) {
  platform::NativeFile file = At(number);
  std::optional<platform::NativeFile>& slot = files_[IndexOf(number)];
  slot.reset();
  return file;
}

FileNumbers& ThisThreadFileNumbers() { return platform::PerThread<FileNumbers>(); }

}  // namespace jotwell
