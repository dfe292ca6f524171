// An initialization file's text as its code units: a byte each (UTF-8 or an
// 8-bit code page) after any UTF-8 mark, or 16 bits each in the file's byte
// order after a UTF-16 mark. The engine reads units and copies the bytes of
// whatever an edit leaves, so those stay exactly as they were, however the
// file is damaged.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::ini {

class Units {
 public:
  static Units OfFile(std::string_view file);
  // Other text in this file's encoding, without a mark.
  Units Over(std::string_view bytes) const { return Units(bytes, 0, wide_, bigEndian_); }

  // A UTF-16 file's odd last byte is no unit.
  std::size_t size() const { return size_; }
  char32_t operator[](std::size_t i) const {
    if (!wide_) return units_[i];
    const unsigned char* unit = units_ + 2 * i;
    return bigEndian_ ? char32_t(unit[0]) << 8 | unit[1] : char32_t(unit[1]) << 8 | unit[0];
  }
  // Where the line that starts at `from` ends: the next CR or LF.
  std::size_t LineBreakAt(std::size_t from) const;

  // The file's bytes up to unit `at`, the mark included; from unit `at` to
  // the end of the file, an odd last byte included; of units [begin, end).
  std::string_view Before(std::size_t at) const { return file_.substr(0, Offset(at)); }
  std::string_view From(std::size_t at) const { return file_.substr(Offset(at)); }
  std::string_view Bytes(std::size_t begin, std::size_t end) const {
    return file_.substr(Offset(begin), Offset(end) - Offset(begin));
  }
  std::size_t FileSize() const { return file_.size(); }

  // Units [begin, end) as UTF-8; an unpaired surrogate becomes U+FFFD.
  String Utf8(std::size_t begin, std::size_t end) const;
  // UTF-8 text in this file's encoding; nothing when a UTF-16 file cannot
  // hold it, as it is no UTF-8.
  std::optional<String> Encoded(std::string_view utf8) const;

 private:
  Units(std::string_view file, std::size_t start, bool wide, bool bigEndian);
  std::size_t Offset(std::size_t unit) const { return start_ + (wide_ ? 2 * unit : unit); }

  std::string_view file_;
  std::size_t start_;  // the mark's length
  bool wide_, bigEndian_;
  const unsigned char* units_;
  std::size_t size_;
};

}  // namespace jotwell::platform::ini
