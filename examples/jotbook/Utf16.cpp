#include "Utf16.h"

#include <new>
#include <utility>

namespace jotbook {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The character that starts at utf8[at], and how many bytes it takes.
std::pair<char32_t, std::size_t> NextCharacter(std::string_view utf8, std::size_t at) {
  unsigned char lead = utf8[at];
  if (lead < 0x80) return {lead, 1};
  std::size_t extra = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (extra == 0 || at + extra >= utf8.size()) return {kReplacement, 1};
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    if ((utf8[at + k] & 0xC0) != 0x80) return {kReplacement, 1};
    c = (c << 6) | (utf8[at + k] & 0x3F);
  }
  return {c > 0x10FFFF ? kReplacement : c, extra + 1};
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

std::u16string Utf16(std::string_view utf8) {
  std::u16string units;
  for (std::size_t at = 0; at < utf8.size();) {
    auto [c, length] = NextCharacter(utf8, at);
    at += length;
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + ((c - 0x10000) & 0x3FF);
    }
    units += static_cast<char16_t>(c);
  }
  return units;
}

std::string Utf8(std::u16string_view utf16) {
  std::string bytes;
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    char32_t c = utf16[at];
    if (IsHighSurrogate(c) && at + 1 < utf16.size() && IsLowSurrogate(utf16[at + 1]))
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++at] - 0xDC00);
    else if (IsHighSurrogate(c) || IsLowSurrogate(c)) c = kReplacement;
    if (c < 0x80) {
      bytes += static_cast<char>(c);
      continue;
    }
    static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    bytes += static_cast<char>(kLead[extra] | (c >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k) bytes += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return bytes;
}

BSTR ToBstr(std::string_view utf8) {
  std::u16string units = Utf16(utf8);
  BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                                static_cast<UINT>(units.size()));
  if (text == nullptr) throw std::bad_alloc();
  return text;
}

std::string FromBstr(BSTR text) {
  return Utf8({reinterpret_cast<const char16_t*>(text), SysStringLen(text)});
}

}  // namespace jotbook
