#include "binding/Coercion.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/Variant.h"
#include "binding/Utf16.h"
#include "values/CurrencyText.h"

namespace jotwell::binding {
namespace {

// The value behind a by-reference argument, as a plain variant that shares
// the caller's storage; false when it cannot be read.
bool Unwrap(const VARIANT& argument, VARIANT& plain) {
  const VARIANT* v = &argument;
  if (v->vt == (VT_BYREF | VT_VARIANT)) {
    if (v->pvarVal == nullptr) return false;
    v = v->pvarVal;
  }
  if (!(v->vt & VT_BYREF)) {
    plain = *v;
    return true;
  }
  if (v->byref == nullptr) return false;
  plain.vt = v->vt & ~VT_BYREF;
  switch (plain.vt) {
    case VT_I1: plain.cVal = *v->pcVal; return true;
    case VT_UI1: plain.bVal = *v->pbVal; return true;
    case VT_I2: plain.iVal = *v->piVal; return true;
    case VT_UI2: plain.uiVal = *v->puiVal; return true;
    case VT_I4: plain.lVal = *v->plVal; return true;
    case VT_UI4: plain.ulVal = *v->pulVal; return true;
    case VT_INT: plain.intVal = *v->pintVal; return true;
    case VT_UINT: plain.uintVal = *v->puintVal; return true;
    case VT_I8: plain.llVal = *v->pllVal; return true;
    case VT_UI8: plain.ullVal = *v->pullVal; return true;
    case VT_R4: plain.fltVal = *v->pfltVal; return true;
    case VT_R8: plain.dblVal = *v->pdblVal; return true;
    case VT_CY: plain.cyVal = *v->pcyVal; return true;
    case VT_BOOL: plain.boolVal = *v->pboolVal; return true;
    case VT_BSTR: plain.bstrVal = *v->pbstrVal; return true;
    default: return false;
  }
}

// A number of the argument: exact for the integer types, Booleans and
// Currency (scaled), approximate for the floating-point types and text.
struct Number {
  enum { Exact, Scaled, Real, NotANumber } kind = NotANumber;
  std::int64_t exact = 0;
  double real = 0;
};

Number RealOf(double real) { return {Number::Real, 0, real}; }

// Text that reads as a number, as the automation runtime's conversion
// accepts it: blanks around a decimal number with optional sign and exponent.
Number ParseNumber(const String& text) {
  std::size_t first = text.find_first_not_of(" \t");
  std::size_t last = text.find_last_not_of(" \t");
  if (first == String::npos) return {};
  const char* begin = text.data() + first + (text[first] == '+' ? 1 : 0);
  const char* end = text.data() + last + 1;
  double real = 0;
  auto [stop, error] = std::from_chars(begin, end, real);
  if (error != std::errc() || stop != end) return {};
  return RealOf(real);
}

Number NumberOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_EMPTY: return {Number::Exact, 0};
    case VT_BOOL: return {Number::Exact, v.boolVal};
    case VT_I1: return {Number::Exact, v.cVal};
    case VT_UI1: return {Number::Exact, v.bVal};
    case VT_I2: return {Number::Exact, v.iVal};
    case VT_UI2: return {Number::Exact, v.uiVal};
    case VT_I4: return {Number::Exact, v.lVal};
    case VT_UI4: return {Number::Exact, v.ulVal};
    case VT_INT: return {Number::Exact, v.intVal};
    case VT_UINT: return {Number::Exact, v.uintVal};
    case VT_I8: return {Number::Exact, v.llVal};
    case VT_UI8:
      return v.ullVal > static_cast<ULONGLONG>(INT64_MAX) ? RealOf(static_cast<double>(v.ullVal))
                                                         : Number{Number::Exact, static_cast<std::int64_t>(v.ullVal)};
    case VT_R4: return RealOf(v.fltVal);
    case VT_R8: return RealOf(v.dblVal);
    case VT_DATE: return RealOf(v.date);  // days since 30 December 1899
    case VT_CY: return {Number::Scaled, v.cyVal.int64};
    case VT_BSTR: return ParseNumber(FromBstr(v.bstrVal));
    default: return {};
  }
}

// Rounds to a whole number, halves to even, as the automation runtime does;
// false when the result does not fit `Limit`.
template <class Limit>
HRESULT WholeOf(const Number& n, std::int64_t& whole) {
  constexpr auto kMin = std::numeric_limits<Limit>::min(), kMax = std::numeric_limits<Limit>::max();
  if (n.kind == Number::NotANumber) return DISP_E_TYPEMISMATCH;
  if (n.kind == Number::Exact) {
    whole = n.exact;
  } else {
    double real = n.kind == Number::Real ? n.real : static_cast<double>(n.exact) / Currency::kScale;
    real = std::nearbyint(real);
    if (!(real >= kMin && real <= kMax)) return DISP_E_OVERFLOW;
    whole = static_cast<std::int64_t>(real);
  }
  return whole >= kMin && whole <= kMax ? S_OK : DISP_E_OVERFLOW;
}

// Each at its own precision: a Single widened to a Double would show digits
// its caller never wrote (0.1 as 0.10000000149011612).
template <class Real>
String TextOfReal(Real real) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, real);
  return error == std::errc() ? String(buffer, end) : String();
}

HRESULT ReadText(const VARIANT& v, String& text) {
  switch (v.vt) {
    case VT_EMPTY: text.clear(); return S_OK;
    case VT_BSTR: text = FromBstr(v.bstrVal); return S_OK;
    case VT_BOOL: text = v.boolVal ? "True" : "False"; return S_OK;
    case VT_R4: text = TextOfReal(v.fltVal); return S_OK;
    case VT_R8: text = TextOfReal(v.dblVal); return S_OK;
    case VT_CY: text = CurrencyText(Currency::FromScaled(v.cyVal.int64), "."); return S_OK;
    // In the user's general date form, as a script's Now reads; a date
    // beyond the calendar's years has none.
    case VT_DATE: {
      std::optional<String> date = Variant(Date{v.date}).Text();
      return date ? (text = *date, S_OK) : DISP_E_OVERFLOW;
    }
    default: break;
  }
  Number n = NumberOf(v);
  if (n.kind == Number::Exact) return text = std::to_string(n.exact), S_OK;
  if (n.kind == Number::Real) return text = TextOfReal(n.real), S_OK;
  return DISP_E_TYPEMISMATCH;
}

bool EqualsIgnoringCase(const String& text, const char* word) {
  std::size_t i = 0;
  for (; word[i] != 0; ++i)
    if (i >= text.size() || (text[i] | 0x20) != word[i]) return false;
  return i == text.size();
}

// A Boolean keeps its raw value; anything else is True when non-zero.
HRESULT ReadBoolean(const VARIANT& v, std::int64_t& raw) {
  if (v.vt == VT_BOOL) return raw = v.boolVal, S_OK;
  if (v.vt == VT_BSTR) {
    String text = FromBstr(v.bstrVal);
    if (EqualsIgnoringCase(text, "true")) return raw = VARIANT_TRUE, S_OK;
    if (EqualsIgnoringCase(text, "false")) return raw = VARIANT_FALSE, S_OK;
  }
  Number n = NumberOf(v);
  if (n.kind == Number::NotANumber) return DISP_E_TYPEMISMATCH;
  bool nonZero = n.kind == Number::Real ? n.real != 0 : n.exact != 0;
  raw = nonZero ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace

HRESULT ReadArgument(const VARIANT& argument, Type type, Values& values, std::size_t slot) {
  VARIANT plain;
  if (!Unwrap(argument, plain)) return DISP_E_TYPEMISMATCH;
  switch (type) {
    case Type::String: return ReadText(plain, values.Text(slot));
    case Type::Boolean: return ReadBoolean(plain, values.number[slot]);
    case Type::Integer: return WholeOf<Integer>(NumberOf(plain), values.number[slot]);
    case Type::Long: return WholeOf<Long>(NumberOf(plain), values.number[slot]);
    default: return DISP_E_TYPEMISMATCH;
  }
}

void WriteBack(VARIANT& argument, const String& text) {
  if (argument.vt == (VT_BYREF | VT_BSTR) && argument.pbstrVal != nullptr) {
    if (FromBstr(*argument.pbstrVal) != text) Assign(argument.pbstrVal, text);
  } else if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal != nullptr) {
    VARIANT& variable = *argument.pvarVal;
    if (variable.vt == VT_BSTR && FromBstr(variable.bstrVal) == text) return;
    if (variable.vt == (VT_BYREF | VT_BSTR)) return WriteBack(variable, text);
    BSTR replacement = ToBstr(text);
    VariantClear(&variable);
    variable.vt = VT_BSTR;
    variable.bstrVal = replacement;
  }
}

}  // namespace jotwell::binding
