// Late binding over the member table: names to dispatch identifiers, and
// Invoke with its coercions, write-back and standard answers to bad calls.
#pragma once

#include "binding/MemberTable.h"

namespace jotwell::binding {

HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);

class Object;

// Calls the member of `object` that `id` and `flags` name, on the object's
// own thread only. Takes IDispatch::Invoke's own parameters, so that the
// function table's entry only hands the call on.
HRESULT Invoke(Object& object, DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* info, UINT* argumentError);

}  // namespace jotwell::binding
