#include "binding/Utf16.h"

#include <new>

#include "values/Unicode.h"

namespace jotwell::binding {

String FromBstr(const BSTR text) {
  return Utf8OfUtf16(SysStringLen(text),
                     [&](std::size_t at) { return static_cast<char16_t>(text[at]); });
}

BSTR ToBstr(const String& text) {
  std::u16string units;
  units.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = NextUtf8CodePoint(text, at).value_or(kReplacementCharacter);
    ForEachUtf16Unit(c, [&](char16_t unit) { units += unit; });
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
