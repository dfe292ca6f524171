// Text between the host's UTF-8 and the component's UTF-16. A byte that
// starts no character, or a lone surrogate, becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

#include "jotwell/automation.h"

namespace jotbook {

std::u16string Utf16(std::string_view utf8);
std::string Utf8(std::u16string_view utf16);
#ifdef _WIN32
// The system's own text, in 16-bit wchar_t.
inline std::string Utf8(std::wstring_view wide) {
  return Utf8({reinterpret_cast<const char16_t*>(wide.data()), wide.size()});
}
#endif

// A new BSTR the caller frees; throws std::bad_alloc without memory for it.
BSTR ToBstr(std::string_view utf8);
std::string FromBstr(BSTR text);

}  // namespace jotbook
