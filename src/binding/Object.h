// The component object: one JotBook behind the dual interface _JotBook, the
// connection point of its events and ISupportErrorInfo. It lives on the
// thread that created it and answers calls from any other thread with
// RPC_E_WRONG_THREAD.
#pragma once

#include <atomic>
#include <vector>

#include "binding/Failure.h"
#include "binding/FunctionTable.h"
#include "binding/Lifetime.h"
#include "binding/MemberTable.h"
#include "platform/ThreadTag.h"

namespace jotwell::binding {

class Object;

// The connection point of __JotBook: any sink that answers the event
// interface or IDispatch.
class EventConnections final : public IConnectionPoint, public JotBookEvents {
 public:
  explicit EventConnections(Object& owner) : owner_(owner) {}
  ~EventConnections();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  bool Empty() const { return sinks_.empty(); }

  void SuccessfulWriteToLogFile() override;
  void ErrorWritingToLogFile(Integer& RunTimeErrorNum) override;

 private:
  struct Sink {
    DWORD cookie;
    IDispatch* dispatch;
  };
  // Calls every sink connected when the event is raised; a sink may
  // disconnect, or release the object, while it runs.
  void Raise(DISPID id, DISPPARAMS& params);

  Object& owner_;
  std::vector<Sink> sinks_;
  DWORD lastCookie_ = 0;
};

class Object final {
 public:
  // A new object, handed out as `riid`. The thread's first object runs Main.
  static HRESULT Create(REFIID riid, void** out);

  HRESULT QueryInterface(REFIID riid, void** out);
  ULONG AddRef() { return ++references_; }
  ULONG Release();

  bool OnOwnThread() const { return platform::ThisThreadTag() == owner_; }
  // Runs a member with the values read; errors that escape the library come
  // back as their HRESULT, with details in *info when given.
  HRESULT Call(const Member& member, Values& values, EXCEPINFO* info) {
    // A sink may release the host's last reference while an event runs.
    if (!events_.Empty()) {
      AddRef();
      HRESULT answer = LibraryCall([&] { member.call(book_, values); }, info);
      Release();
      return answer;
    }
    return LibraryCall([&] { member.call(book_, values); }, info);
  }

  IConnectionPointContainer* Container() { return &container_; }
  IConnectionPoint* Events() { return &events_; }

 private:
  class ConnectionPointContainer final : public IConnectionPointContainer {
   public:
    explicit ConnectionPointContainer(Object& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return owner_.QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

   private:
    Object& owner_;
  };

  // Offered only where the platform keeps the library's type library.
  class ProvideClassInfo final : public IProvideClassInfo {
   public:
    explicit ProvideClassInfo(Object& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
      return owner_.QueryInterface(riid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override;

   private:
    Object& owner_;
  };

  class SupportErrorInfo final : public ISupportErrorInfo {
   public:
    explicit SupportErrorInfo(Object& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return owner_.QueryInterface(riid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

   private:
    Object& owner_;
  };

  Object();
  ~Object();
  static bool HasTypeInformation();

  DualView dual_{&DualFunctionTable(), this};
  ConnectionPointContainer container_{*this};
  ProvideClassInfo classInfo_{*this};
  SupportErrorInfo errorInfo_{*this};
  std::atomic<ULONG> references_{1};
  platform::ThreadTag owner_ = platform::ThisThreadTag();
  Alive alive_;
  JotBook book_;
  EventConnections events_{*this};
};

}  // namespace jotwell::binding
