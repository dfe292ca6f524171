// The text form of a Variant: decimal numbers with the user's decimal
// separator and no grouping, True/False, dates in the general date format.
#include <cmath>
#include <cstdio>

#include "base/Variant.h"
#include "jotwell/RuntimeError.h"
#include "platform/regional.h"
#include "values/CurrencyText.h"

namespace jotwell {
namespace {

String WithDecimalSeparator(String text) {
  size_t point = text.find('.');
  if (point != String::npos) text.replace(point, 1, platform::UserLocale().DecimalSeparator());
  return text;
}

// Floating-point numbers show at most `digits` significant digits, like the
// classic runtime: 0.1, 1.5E-05, 1E+20.
String FloatingText(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*G", digits, value);
  return WithDecimalSeparator(text);
}

platform::LocalDateTime CivilFromSerial(double serial) {
  double days = std::floor(serial);
  // Negative serials count back from 1899-12-30 but their time runs forward.
  double fraction = std::fabs(serial - std::trunc(serial));
  long long totalSeconds = std::llround(fraction * 86400.0);
  if (totalSeconds == 86400) totalSeconds = 86399;
  if (serial < 0) days = std::ceil(serial);
  // Days since 1970-01-01, then the civil-from-days algorithm.
  long long z = static_cast<long long>(days) - 25569 + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  platform::LocalDateTime when;
  when.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  when.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  when.year = static_cast<int>(yoe + era * 400 + (when.month <= 2 ? 1 : 0));
  when.hour = static_cast<int>(totalSeconds / 3600);
  when.minute = static_cast<int>(totalSeconds / 60 % 60);
  when.second = static_cast<int>(totalSeconds % 60);
  return when;
}

// Dates from 1 January 100 to 31 December 9999 have a text; no other has.
std::optional<String> DateText(Date value) {
  if (!(value.serial >= Date::kFirst && value.serial < Date::kLast + 1)) return std::nullopt;
  return GeneralDateText(CivilFromSerial(value.serial));
}

struct TextOf {
  std::optional<String> operator()(std::monostate) const { return String(); }
  std::optional<String> operator()(NullValue) const { return String(); }
  std::optional<String> operator()(Integer v) const { return std::to_string(v); }
  std::optional<String> operator()(Long v) const { return std::to_string(v); }
  std::optional<String> operator()(std::uint8_t v) const { return std::to_string(v); }
  std::optional<String> operator()(float v) const { return FloatingText(v, 7); }
  std::optional<String> operator()(double v) const { return FloatingText(v, 15); }
  std::optional<String> operator()(Currency v) const {
    return CurrencyText(v, platform::UserLocale().DecimalSeparator());
  }
  std::optional<String> operator()(Date v) const { return DateText(v); }
  std::optional<String> operator()(const String& v) const { return v; }
  std::optional<String> operator()(Boolean v) const {
    return String(v.IsFalse() ? "False" : "True");
  }
  template <class T>
  std::optional<String> operator()(const T&) const {
    return std::nullopt;
  }
};

}  // namespace

String GeneralDateText(const platform::LocalDateTime& when) {
  platform::Locale& locale = platform::UserLocale();
  String text = locale.ShortDate(when);
  if (when.hour != 0 || when.minute != 0 || when.second != 0) text += " " + locale.LongTime(when);
  return text;
}

bool Variant::IsMissing() const {
  const ErrorCode* code = As<ErrorCode>();
  return code != nullptr && code->code == ErrorCode::kMissing;
}

std::optional<String> Variant::Text() const { return std::visit(TextOf{}, value_); }

String Variant::TextOrMismatch() const {
  std::optional<String> text = Text();
  if (!text) throw RuntimeError(errnum::kTypeMismatch);
  return *text;
}

VariantArray VariantArray::OneDimensional(std::vector<Variant> elements, Long lower) {
  VariantArray array;
  array.dimensions.push_back({lower, lower + static_cast<Long>(elements.size()) - 1});
  array.elements = std::move(elements);
  return array;
}

}  // namespace jotwell
