#include <algorithm>
#include <new>

#include "binding/Enumerator.h"
#include "binding/Failure.h"
#include "binding/Object.h"
#include "jotwell/JotBookComponent.h"

namespace jotwell::binding {

EventConnections::~EventConnections() {
  for (const Sink& sink : sinks_) {
    sink.dispatch->Release();
    Lifetime::ReleaseOne();
  }
}

HRESULT EventConnections::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (!(riid == IID_IUnknown || riid == IID_IConnectionPoint)) return E_NOINTERFACE;
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

ULONG EventConnections::AddRef() { return owner_.AddRef(); }
ULONG EventConnections::Release() { return owner_.Release(); }

HRESULT EventConnections::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  *iid = DIID___JotBook;
  return S_OK;
}

HRESULT EventConnections::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  *out = owner_.Container();
  (*out)->AddRef();
  return S_OK;
}

HRESULT EventConnections::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  void* dispatch = nullptr;
  if (FAILED(sink->QueryInterface(DIID___JotBook, &dispatch)) &&
      FAILED(sink->QueryInterface(IID_IDispatch, &dispatch)))
    return CONNECT_E_CANNOTCONNECT;
  HRESULT stored = Guarded([&] { sinks_.push_back({lastCookie_ + 1, static_cast<IDispatch*>(dispatch)}); });
  if (FAILED(stored)) {
    static_cast<IDispatch*>(dispatch)->Release();
    return stored;
  }
  Lifetime::Acquire();
  *cookie = ++lastCookie_;
  return S_OK;
}

HRESULT EventConnections::Unadvise(DWORD cookie) {
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  auto found = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
  if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
  IDispatch* dispatch = found->dispatch;
  sinks_.erase(found);
  Lifetime::ReleaseOne();
  dispatch->Release();
  return S_OK;
}

HRESULT EventConnections::EnumConnections(IEnumConnections** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!owner_.OnOwnThread()) return RPC_E_WRONG_THREAD;
  return Guarded([&] {
    std::vector<CONNECTDATA> connections;
    for (const Sink& sink : sinks_) connections.push_back({sink.dispatch, sink.cookie});
    *out = new ConnectionEnumerator(connections);
    for (const CONNECTDATA& c : connections) c.pUnk->AddRef();
  });
}

void EventConnections::Raise(DISPID id, DISPPARAMS& params) {
  std::vector<IDispatch*> snapshot;
  snapshot.reserve(sinks_.size());
  for (const Sink& sink : sinks_) snapshot.push_back(sink.dispatch);
  for (IDispatch* sink : snapshot) sink->AddRef();
  for (IDispatch* sink : snapshot) {
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    sink->Release();
  }
}

void EventConnections::SuccessfulWriteToLogFile() {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  Raise(DISPID_SuccessfulWriteToLogFile, none);
}

// The number goes by reference, so a sink's change reaches the library.
void EventConnections::ErrorWritingToLogFile(Integer& RunTimeErrorNum) {
  VARIANT number;
  number.vt = VT_I2 | VT_BYREF;
  number.piVal = &RunTimeErrorNum;
  DISPPARAMS params{&number, nullptr, 1, 0};
  Raise(DISPID_ErrorWritingToLogFile, params);
}

}  // namespace jotwell::binding
