// The exported entry points of the in-process server.
#include "binding/ClassFactory.h"
#include "binding/Lifetime.h"
#include "binding/Registration.h"
#include "jotwell/JotBookClient.h"
#include "jotwell/JotBookComponent.h"

using namespace jotwell::binding;

extern "C" {

HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (!(rclsid == CLSID_JotBook)) return CLASS_E_CLASSNOTAVAILABLE;
  if (!(riid == IID_IClassFactory || riid == IID_IUnknown)) return CLASS_E_CLASSNOTAVAILABLE;
  return CreateClassFactory(riid, ppv);
}

HRESULT DllCanUnloadNow(void) { return Lifetime::Idle() ? S_OK : S_FALSE; }

HRESULT DllRegisterServer(void) { return RegisterServer(); }

HRESULT DllUnregisterServer(void) { return UnregisterServer(); }

HRESULT JotwellCreateObject(const char* name, REFIID riid, void** object) {
  if (name == nullptr) return E_POINTER;
  return CreateRegistered(name, riid, object);
}

}  // extern "C"
