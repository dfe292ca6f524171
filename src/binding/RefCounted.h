// Reference counting for the binding's small helper objects (enumerators,
// the class factory): IUnknown over one interface, deleted at zero.
#pragma once

#include <atomic>

#include "binding/Lifetime.h"
#include "jotwell/automation.h"

namespace jotwell::binding {

template <class Interface>
class RefCounted : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!(riid == IID_IUnknown || riid == OwnIid())) return E_NOINTERFACE;
    *out = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~RefCounted() = default;
  virtual const IID& OwnIid() const = 0;

 private:
  std::atomic<ULONG> references_{1};
  Alive alive_;
};

}  // namespace jotwell::binding
