#include "binding/Utf16.h"

#include <new>

namespace jotwell::binding {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(String& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLow(char32_t u) { return u >= 0xDC00 && u < 0xE000; }

// The next code point of UTF-8 text at `i`, moving `i` past it; a malformed
// sequence yields U+FFFD and moves by one byte.
char32_t NextCodePoint(const String& text, std::size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return ++i, lead;
  std::size_t extra = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
  if (extra == 0 || text.size() - i <= extra) return ++i, kReplacement;
  char32_t c = lead & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return ++i, kReplacement;
    c = (c << 6) | (next & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return ++i, kReplacement;
  i += extra + 1;
  return c;
}

}  // namespace

String FromBstr(const BSTR text) {
  String out;
  UINT length = SysStringLen(text);
  out.reserve(length);
  for (UINT i = 0; i < length; ++i) {
    char32_t unit = static_cast<char16_t>(text[i]);
    if (IsHigh(unit) && i + 1 < length && IsLow(static_cast<char16_t>(text[i + 1]))) {
      char32_t low = static_cast<char16_t>(text[++i]);
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else {
      AppendUtf8(out, IsHigh(unit) || IsLow(unit) ? kReplacement : unit);
    }
  }
  return out;
}

BSTR ToBstr(const String& text) {
  std::u16string units;
  units.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c);
    }
  }
  BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                                  static_cast<UINT>(units.size()));
  if (result == nullptr) throw std::bad_alloc();
  return result;
}

void Assign(BSTR* slot, const String& text) {
  BSTR replacement = ToBstr(text);
  SysFreeString(*slot);
  *slot = replacement;
}

}  // namespace jotwell::binding
