#include "platform/IniUnits.h"

#include <algorithm>

#include "values/Unicode.h"

namespace jotwell::platform::ini {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";

}  // namespace

Units::Units(std::string_view file, std::size_t start, bool wide, bool bigEndian)
    : file_(file),
      start_(start),
      wide_(wide),
      bigEndian_(bigEndian),
      units_(reinterpret_cast<const unsigned char*>(file.data()) + start),
      size_(wide ? (file.size() - start) / 2 : file.size() - start) {}

Units Units::OfFile(std::string_view file) {
  if (file.starts_with(kLittleEndianMark) || file.starts_with(kBigEndianMark))
    return Units(file, 2, true, file.starts_with(kBigEndianMark));
  return Units(file, file.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0, false, false);
}

std::size_t Units::LineBreakAt(std::size_t from) const {
  auto isBreak = [](char32_t c) { return c == '\r' || c == '\n'; };
  if (!wide_)
    return static_cast<std::size_t>(std::find_if(units_ + from, units_ + size_, isBreak) - units_);
  while (from < size_ && !isBreak((*this)[from])) ++from;
  return from;
}

String Units::Utf8(std::size_t begin, std::size_t end) const {
  if (!wide_) return String(Bytes(begin, end));
  return Utf8OfUtf16(end - begin, [&](std::size_t at) { return (*this)[begin + at]; });
}

std::optional<String> Units::Encoded(std::string_view utf8) const {
  if (!wide_) return String(utf8);
  String out;
  out.reserve(2 * utf8.size());
  auto append = [&](char32_t unit) {
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian_ ? high : low;
    out += bigEndian_ ? low : high;
  };
  for (std::size_t at = 0; at < utf8.size();) {
    std::optional<char32_t> c = NextUtf8CodePoint(utf8, at);
    if (!c) return std::nullopt;
    ForEachUtf16Unit(*c, append);
  }
  return out;
}

}  // namespace jotwell::platform::ini
