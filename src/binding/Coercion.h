// Arguments and results between VARIANTs and the library's values, with the
// coercions automation clients expect: numbers, text, Booleans, empty
// values, and variables passed by reference as script hosts pass them.
#pragma once

#include "binding/MemberTable.h"
#include "binding/Utf16.h"

namespace jotwell::binding {

// Reads `argument` as `type` into slot `slot` of `values`. Answers S_OK,
// DISP_E_TYPEMISMATCH, or DISP_E_OVERFLOW for a number out of range.
HRESULT ReadArgument(const VARIANT& argument, Type type, Values& values, std::size_t slot);

// Gives a String variable passed by reference the member's new text, when
// the member changed it. Other arguments are left alone.
void WriteBack(VARIANT& argument, const String& text);

// Stores a member's result; nothing for a member without one. Inline: a
// property get through Invoke is little more than this.
inline void StoreResult(Type type, Values& values, VARIANT& result) {
  result.vt = VT_EMPTY;
  switch (type) {
    case Type::None: return;
    case Type::String: result.bstrVal = ToBstr(values.ResultText()); result.vt = VT_BSTR; return;
    case Type::Boolean: result.vt = VT_BOOL; result.boolVal = static_cast<VARIANT_BOOL>(values.resultNumber); return;
    case Type::Integer: result.vt = VT_I2; result.iVal = static_cast<SHORT>(values.resultNumber); return;
    case Type::Long: result.vt = VT_I4; result.lVal = static_cast<LONG>(values.resultNumber); return;
    case Type::Currency: result.vt = VT_CY; result.cyVal.int64 = values.resultNumber; return;
  }
}

}  // namespace jotwell::binding
