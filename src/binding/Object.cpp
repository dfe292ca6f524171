#include "binding/Object.h"

#include <new>

#include "binding/Enumerator.h"
#include "binding/Failure.h"
#include "jotwell/JotBookComponent.h"
#include "platform/runtime.h"

namespace jotwell::binding {

Object::Object() { book_.Advise(events_); }

Object::~Object() { book_.Unadvise(events_); }

HRESULT Object::Create(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  Object* object = nullptr;
  // Main runs here; an error that escapes its own handler fails the creation.
  if (HRESULT made = LibraryCall([&] { object = new Object; }, nullptr); FAILED(made)) return made;
  HRESULT answer = object->QueryInterface(riid, out);
  object->Release();
  return answer;
}

HRESULT Object::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID__JotBook)
    *out = &dual_;
  else if (riid == IID_IConnectionPointContainer)
    *out = static_cast<IConnectionPointContainer*>(&container_);
  else if (riid == IID_ISupportErrorInfo)
    *out = static_cast<ISupportErrorInfo*>(&errorInfo_);
  else if (riid == IID_IProvideClassInfo && HasTypeInformation())
    *out = static_cast<IProvideClassInfo*>(&classInfo_);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG Object::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT Object::ConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  IConnectionPoint* events = owner_.Events();
  return Guarded([&] {
    *out = new ConnectionPointEnumerator({events});
    events->AddRef();
  });
}

HRESULT Object::ConnectionPointContainer::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (!(riid == DIID___JotBook)) return CONNECT_E_NOCONNECTION;
  *out = owner_.Events();
  (*out)->AddRef();
  return S_OK;
}

bool Object::HasTypeInformation() {
  ITypeInfo* info = platform::Runtime().TypeInfoOf(CLSID_JotBook);
  if (info == nullptr) return false;
  info->Release();
  return true;
}

HRESULT Object::ProvideClassInfo::GetClassInfo(ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  *out = platform::Runtime().TypeInfoOf(CLSID_JotBook);
  return *out != nullptr ? S_OK : E_FAIL;
}

HRESULT Object::SupportErrorInfo::InterfaceSupportsErrorInfo(REFIID riid) {
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  return riid == IID__JotBook ? S_OK : S_FALSE;
}

}  // namespace jotwell::binding
