// Strings cross the boundary as UTF-16 BSTRs and live inside as UTF-8.
#pragma once

#include "jotwell/automation.h"
#include "jotwell/ValueTypes.h"

namespace jotwell::binding {

// Unpaired surrogates become U+FFFD. A null BSTR is the empty string.
String FromBstr(const BSTR text);
// Throws std::bad_alloc when the string cannot be allocated. Bytes that are
// not UTF-8 become U+FFFD.
BSTR ToBstr(const String& text);
// Replaces *slot with `text`, freeing what was there.
void Assign(BSTR* slot, const String& text);

}  // namespace jotwell::binding
