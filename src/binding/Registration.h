// The registration record: what DllRegisterServer writes into the user's
// record of component classes, and how a host finds a class there by
// programmatic name or class identifier.
#pragma once

#include "jotwell/automation.h"
#include "jotwell/ValueTypes.h"

namespace jotwell::binding {

// "{04229DBD-EDDA-4E43-B75F-66A8ECD82D0C}": braces, upper-case hex.
String GuidText(const GUID& guid);
// False unless `text` is a GUID in that form (any case).
bool ParseGuid(const String& text, GUID& guid);

HRESULT RegisterServer();
HRESULT UnregisterServer();

// Loads the library registered for `name` ("Jotwell.JotBook" or a class
// identifier) and creates an object through its class factory.
HRESULT CreateRegistered(const String& name, REFIID riid, void** out);

}  // namespace jotwell::binding
