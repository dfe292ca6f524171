// The component on Windows: Jotwell.dll's entry points, and the system's
// component runtime for classes made by name.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "Component.h"
#include "LoadedComponent.h"
#include "Utf16.h"

namespace jotbook {
namespace {

using ServerEntry = HRESULT(STDAPICALLTYPE*)();
using ClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

// The running program's folder, with its separator.
std::wstring ProgramFolder() {
  for (DWORD room = MAX_PATH;; room *= 2) {
    std::wstring path(room, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), room);
    if (length == 0) throw std::runtime_error("the program's own path is unknown");
    if (length < room) return path.substr(0, path.find_last_of(L"\\/", length) + 1);
  }
}

HMODULE Library() {
  static const HMODULE library = [] {
    std::wstring path = ProgramFolder() + L"Jotwell.dll";
    HMODULE loaded = LoadLibraryW(path.c_str());
    if (loaded == nullptr)
      throw std::runtime_error("cannot load " + Utf8(path) + " (system error " +
                               std::to_string(GetLastError()) + ")");
    return loaded;
  }();
  return library;
}

template <class Function>
Function Entry(const char* name) {
  FARPROC entry = GetProcAddress(Library(), name);
  if (entry == nullptr) throw std::runtime_error(std::string("Jotwell.dll lacks ") + name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(entry));
}

// The host's one thread is a single-threaded apartment, as a script host's
// is: the runtime keeps error information and makes registered objects
// only in an apartment. Left at the process's end.
void EnterApartment() {
  static const HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(entered)) throw std::runtime_error("no apartment for the component");
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  EnterApartment();
  return Entry<ClassObjectEntry>("DllGetClassObject")(clsid, riid, object);
}

HRESULT RegisterComponent() {
  EnterApartment();
  return Entry<ServerEntry>("DllRegisterServer")();
}

HRESULT UnregisterComponent() {
  EnterApartment();
  return Entry<ServerEntry>("DllUnregisterServer")();
}

HRESULT CreateRegistered(const char* name, IDispatch** object) {
  EnterApartment();
  CLSID clsid{};
  std::u16string wide = Utf16(name);
  HRESULT found = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(wide.c_str()), &clsid);
  if (FAILED(found)) return found;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(object));
}

}  // namespace jotbook
