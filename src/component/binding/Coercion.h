// Arguments and results between VARIANTs and the library's values, with the
// coercions automation clients expect: numbers, text, Booleans, empty
// values, and variables passed by reference as script hosts pass them.
#pragma once

#include "component/binding/MemberTable.h"

namespace jotwell::binding {

// Reads `argument` as `type` into slot `slot` of `values`. Answers S_OK,
// DISP_E_TYPEMISMATCH, or DISP_E_OVERFLOW for a number out of range.
HRESULT ReadArgument(const VARIANT& argument, Type type, Values& values, std::size_t slot);

// Gives a String variable passed by reference the member's new text, when
// the member changed it. Other arguments are left alone.
void WriteBack(VARIANT& argument, const String& text);

// Stores a member's result; nothing for a member without one.
void StoreResult(Type type, const Values& values, VARIANT& result);

}  // namespace jotwell::binding
