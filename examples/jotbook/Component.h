// The component as this host reaches it for register, unregister and call:
// on Linux through the library it links; on Windows through Jotwell.dll in
// the program's own folder, and the system's component runtime.
#pragma once

#include "jotwell/automation.h"

namespace jotbook {

// Registers the component, or removes its registration, through the
// library's own entry point.
HRESULT RegisterComponent();
HRESULT UnregisterComponent();

// An object of the registered class `name` ("Jotwell.JotBook"), created
// through the registration as automation hosts create it.
HRESULT CreateRegistered(const char* name, IDispatch** object);

}  // namespace jotbook
