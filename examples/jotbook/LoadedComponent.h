// Jotwell.dll from the program's own folder, loaded on first use and kept
// for the process: a host beside the library makes its objects through the
// library's class factory, with no registration needed.
#pragma once

#include "jotwell/automation.h"

namespace jotbook {

// The library's DllGetClassObject, called in the host's apartment; throws
// when the library cannot be loaded.
HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object);

}  // namespace jotbook
