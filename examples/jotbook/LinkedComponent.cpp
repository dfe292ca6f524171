// The component on Linux: the entry points of the library the host links,
// and the library's own reader of the registration record.
#include "Component.h"
#include "jotwell/JotBookClient.h"
#include "jotwell/JotBookComponent.h"

namespace jotbook {

HRESULT RegisterComponent() { return DllRegisterServer(); }
HRESULT UnregisterComponent() { return DllUnregisterServer(); }

HRESULT CreateRegistered(const char* name, IDispatch** object) {
  return JotwellCreateObject(name, IID_IDispatch, reinterpret_cast<void**>(object));
}

}  // namespace jotbook
