#include "binding/ClassFactory.h"

#include "binding/Failure.h"
#include "binding/Object.h"
#include "binding/RefCounted.h"

namespace jotwell::binding {
namespace {

class ClassFactory final : public RefCounted<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return Object::Create(riid, out);
  }

  // A lock keeps the library loaded like a live object does.
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? Lifetime::Lock() : Lifetime::Unlock();
    return S_OK;
  }

 private:
  const IID& OwnIid() const override { return IID_IClassFactory; }
};

}  // namespace

HRESULT CreateClassFactory(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ClassFactory* factory = nullptr;
  if (HRESULT made = Guarded([&] { factory = new ClassFactory; }); FAILED(made)) return made;
  HRESULT answer = factory->QueryInterface(riid, out);
  factory->Release();
  return answer;
}

}  // namespace jotwell::binding
