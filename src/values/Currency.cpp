#include "values/CurrencyText.h"

#include "jotwell/RuntimeError.h"

namespace jotwell {

Currency Currency::FromWhole(std::int64_t whole) {
  if (whole > kMaxWhole || whole < -kMaxWhole) throw RuntimeError(errnum::kOverflow);
  return FromScaled(whole * kScale);
}

String CurrencyText(Currency value, std::string_view decimalSeparator) {
  std::int64_t scaled = value.Scaled();
  bool negative = scaled < 0;
  // Work in unsigned so that the most negative value does not overflow.
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  String text = (negative ? "-" : "") + std::to_string(magnitude / Currency::kScale);
  std::uint64_t fraction = magnitude % Currency::kScale;
  if (fraction == 0) return text;
  String digits = std::to_string(fraction + Currency::kScale).substr(1);
  digits.erase(digits.find_last_not_of('0') + 1);
  return text.append(decimalSeparator).append(digits);
}

}  // namespace jotwell
