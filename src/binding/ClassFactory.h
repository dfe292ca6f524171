// The class factory of JotBook.
#pragma once

#include "jotwell/automation.h"

namespace jotwell::binding {

// A new factory, handed out as `riid` (IClassFactory or IUnknown).
HRESULT CreateClassFactory(REFIID riid, void** out);

}  // namespace jotwell::binding
