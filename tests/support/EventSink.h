// The part every host's event sink in the tests shares: it answers
// IUnknown, and the component's event interface and IDispatch unless told
// not to, and counts its references (events may come on another thread).
// A sink of its own says what an event does.
#pragma once

#include <atomic>

#include "jotwell/JotBookComponent.h"

namespace jotwell::test {

class EventSink : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    bool dispatch = riid == IID_IDispatch || riid == DIID___JotBook;
    *out = riid == IID_IUnknown || (dispatch && answersDispatch) ? this : nullptr;
    return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }

  std::atomic<ULONG> references = 1;
  bool answersDispatch = true;
};

}  // namespace jotwell::test
