// Code points between UTF-8 and UTF-16: the component's strings cross as
// UTF-16 and initialization files may be kept in it, while text lives
// inside as UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

inline bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
inline bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

void AppendUtf8(String& out, char32_t c);

// The code point of UTF-8 text that starts at `at`, moving `at` past it;
// nothing for bytes that are no UTF-8 (an overlong form or a surrogate
// included), with `at` moved by one byte.
std::optional<char32_t> NextUtf8CodePoint(std::string_view text, std::size_t& at);

// Calls `unit` with the UTF-16 code units of `c`: one, or a surrogate pair.
template <typename Unit>
void ForEachUtf16Unit(char32_t c, Unit unit) {
  if (c < 0x10000) {
    unit(static_cast<char16_t>(c));
  } else {
    unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  }
}

// UTF-16 units [0, count), given by `unitAt`, as UTF-8; an unpaired
// surrogate becomes U+FFFD.
template <typename UnitAt>
String Utf8OfUtf16(std::size_t count, UnitAt unitAt) {
  String out;
  out.reserve(count);
  for (std::size_t at = 0; at < count; ++at) {
    char32_t unit = unitAt(at);
    if (IsHighSurrogate(unit) && at + 1 < count && IsLowSurrogate(unitAt(at + 1)))
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(++at) - 0xDC00));
    else
      AppendUtf8(out, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacementCharacter : unit);
  }
  return out;
}

}  // namespace jotwell
