// The files group: what the library asks of the file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when `path` names a file that can be opened for reading; folders
  // and unopenable files give false. Leaves nothing open.
  virtual bool CanOpen(const String& path) = 0;
  // The file's length in bytes. Throws RuntimeError.
  virtual std::int64_t Length(const String& path) = 0;

  // Appends `bytes` to the file, creating it. Each step that fails (open,
  // write, close) is skipped; nothing is reported.
  virtual void AppendQuietly(const String& path, std::string_view bytes) = 0;
};

template <>
FileSystem& Group<FileSystem>::Native();

inline FileSystem& Files() { return Group<FileSystem>::Get(); }

}  // namespace jotwell::platform
