// The bytes of an initialization file, read and edited as the profile
// functions read them, without any I/O. An edit touches only the lines it
// concerns: comments, order, spacing, line ends and a byte-order mark stay.
// A file with a UTF-16 mark is read and written in UTF-16 in its byte order;
// names and values cross as UTF-8. Each call scans the file once and holds
// nothing beyond its result.
#pragma once

#include <optional>
#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::ini {

// The key's value (trimmed, one pair of matching quotes removed), or
// nothing when the section or the key is missing.
std::optional<String> FindValue(std::string_view text, std::string_view section,
                                std::string_view key);
// The value's leading integer, wrapped to 32 bits; `fallback` for a missing
// or empty value.
Long NumberOf(const std::optional<String>& value, Long fallback);

// False when the written line would not read back as this key of this
// section with this value.
bool CanWrite(std::string_view section, std::string_view key, std::string_view value);
// The text with the key set; nothing when !CanWrite, or when a UTF-16 file
// cannot hold the text, as it is no UTF-8.
std::optional<String> WithValue(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view value);
// The text without the key's lines in the section.
String WithoutKey(std::string_view text, std::string_view section, std::string_view key);
// The text without any section of that name.
String WithoutSection(std::string_view text, std::string_view section);

}  // namespace jotwell::platform::ini
