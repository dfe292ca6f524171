#include "values/Unicode.h"

namespace jotwell {

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

std::optional<char32_t> NextUtf8CodePoint(std::string_view text, std::size_t& at) {
  std::size_t start = at;
  unsigned char lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  std::size_t extra = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
  if (extra == 0 || text.size() - at < extra) return std::nullopt;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t end = at + extra; at < end; ++at) {
    unsigned char next = static_cast<unsigned char>(text[at]);
    if ((next & 0xC0) != 0x80) {
      at = start + 1;
      return std::nullopt;
    }
    c = c << 6 | (next & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
    at = start + 1;
    return std::nullopt;
  }
  return c;
}

}  // namespace jotwell
