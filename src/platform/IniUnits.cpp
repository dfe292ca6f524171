#include "platform/IniUnits.h"

#include <algorithm>

namespace jotwell::platform::ini {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

void AppendUtf8(String& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  out += static_cast<char>(kLead[extra] | (c >> (6 * extra)));
  while (extra-- > 0) out += static_cast<char>(0x80 | ((c >> (6 * extra)) & 0x3F));
}

// The code point that starts at `at`, moving `at` past it; nothing for
// bytes that are no UTF-8 (an overlong form or a surrogate included).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
  unsigned char lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  std::size_t extra = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
  if (extra == 0 || text.size() - at < extra) return std::nullopt;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t end = at + extra; at < end; ++at) {
    unsigned char next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = c << 6 | (next & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || IsHigh(c) || IsLow(c)) return std::nullopt;
  return c;
}

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
  String out;
  out.reserve(end - begin);
  for (std::size_t at = begin; at < end; ++at) {
    char32_t unit = (*this)[at];
    if (IsHigh(unit) && at + 1 < end && IsLow((*this)[at + 1]))
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + ((*this)[++at] - 0xDC00));
    else AppendUtf8(out, IsHigh(unit) || IsLow(unit) ? kReplacement : unit);
  }
  return out;
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
    std::optional<char32_t> c = NextCodePoint(utf8, at);
    if (!c) return std::nullopt;
    if (*c < 0x10000) {
      append(*c);
    } else {
      append(0xD800 + ((*c - 0x10000) >> 10));
      append(0xDC00 + ((*c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace jotwell::platform::ini
