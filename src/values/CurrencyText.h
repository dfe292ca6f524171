// Currency as text: the whole part, then the decimal separator and the
// fraction without trailing zeros, only when there is a fraction.
#pragma once

#include <string_view>

#include "jotwell/ValueTypes.h"

namespace jotwell {

// The caller chooses the separator: the user's for what people read, "."
// for what automation clients parse.
String CurrencyText(Currency value, std::string_view decimalSeparator);

}  // namespace jotwell
