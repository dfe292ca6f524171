// Events through the connection point, the class factory, the entry points
// and exact reference counts.
#include <functional>

#include "binding/BindingSupport.h"
#include "jotwell/JotBookClient.h"
#include "support/EventSink.h"

namespace jotwell {
namespace {

using test::Var;

// A host's event sink: records the events it receives, and runs
// `onEvent` inside each.
class Sink final : public test::EventSink {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    events.push_back(id);
    EXPECT_EQ(params->cArgs, id == DISPID_ErrorWritingToLogFile ? 1u : 0u);
    if (onEvent) onEvent();
    return S_OK;
  }

  std::vector<DISPID> events;
  std::function<void()> onEvent;
};

class EventsTest : public test::BindingTest {
 protected:
  IConnectionPoint* EventPoint() {
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(book->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(DIID___JotBook, &point), S_OK);
    container->Release();
    return point;
  }

  Sink sink;
};

TEST_F(EventsTest, SinksConnectEnumerateAndDisconnectWithExactCounts) {
  IConnectionPoint* point = EventPoint();
  Sink second;
  DWORD cookies[2] = {};
  ASSERT_EQ(point->Advise(&sink, &cookies[0]), S_OK);
  ASSERT_EQ(point->Advise(&second, &cookies[1]), S_OK);
  EXPECT_EQ(sink.references, 2u);
  ASSERT_EQ(Put("LogFileName", Var::Text(dir.File("app.log"))), S_OK);
  ASSERT_EQ(Call(IdOf("WriteEventToLogFile"), DISPATCH_METHOD, {Var::Text("event")}), S_OK);
  EXPECT_THAT(second.events, ::testing::ElementsAre(DISPID_SuccessfulWriteToLogFile));

  IEnumConnections* connections = nullptr;
  ASSERT_EQ(point->EnumConnections(&connections), S_OK);
  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(connections->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[1].dwCookie, cookies[1]);
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
  EXPECT_EQ(connections->Release(), 0u);

  EXPECT_EQ(point->Unadvise(cookies[0]), S_OK);
  EXPECT_EQ(point->Unadvise(cookies[0]), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(sink.references, 1u);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  EXPECT_EQ(point->Unadvise(cookies[1]), S_OK);
  EXPECT_EQ(second.references, 1u);
  EXPECT_EQ(point->Release(), 1u);
}

// One connection point, for the events, reached by enumeration or by
// identifier, and one object identity behind the container and _JotBook.
TEST_F(EventsTest, TheContainerOffersOnlyTheEventInterface) {
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint *point = nullptr, *found = EventPoint();
  IEnumConnectionPoints* points = nullptr;
  IUnknown *fromPoint = nullptr, *fromBook = nullptr;
  ULONG fetched = 0;
  IID iid{};
  ASSERT_EQ(book->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(container->EnumConnectionPoints(&points), S_OK);
  ASSERT_EQ(points->Next(1, &point, &fetched), S_OK);
  EXPECT_EQ(points->Next(1, &point, &fetched), S_FALSE);
  EXPECT_EQ(point, found);
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(iid == DIID___JotBook);
  IConnectionPointContainer* back = nullptr;
  point->GetConnectionPointContainer(&back);
  back->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromPoint));
  book->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromBook));
  EXPECT_EQ(fromPoint, fromBook);
  DWORD cookie = 7;
  sink.answersDispatch = false;
  EXPECT_EQ(point->Advise(&sink, &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  for (IUnknown* any : std::initializer_list<IUnknown*>{back, fromPoint, fromBook, point, found, points, container}) any->Release();
}

// Inside an event a sink may disconnect itself and release the host's last
// reference; the write finishes and the object goes afterwards.
TEST_F(EventsTest, ASinkMayUnadviseAndReleaseTheObjectInsideAnEvent) {
  IConnectionPoint* point = EventPoint();
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  sink.onEvent = [&] {
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release(), book->Release(), book = nullptr;
  };
  _JotBook* held = book;
  ASSERT_EQ(Put("LogFileName", Var::Text(dir.File("app.log"))), S_OK);
  EXPECT_EQ(held->WriteEventToLogFile(nullptr), E_POINTER);
  test::Bstr text = test::MakeBstr("event");
  BSTR raw = text.get();
  EXPECT_EQ(held->WriteEventToLogFile(&raw), S_OK);
  EXPECT_EQ(sink.references, 1u);
  EXPECT_THAT(test::ReadFile(dir.File("app.log")), ::testing::HasSubstr(" - event\r\n"));
}

TEST_F(EventsTest, TheFactoryAndEntryPointsAnswerAsTheContractSays) {
  IClassFactory* factory = nullptr;
  void* any = nullptr;
  EXPECT_EQ(DllGetClassObject(IID__JotBook, IID_IClassFactory, &any), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(DllGetClassObject(CLSID_JotBook, IID_IDispatch, &any), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(DllGetClassObject(CLSID_JotBook, IID_IUnknown, &any), S_OK);
  ASSERT_EQ(static_cast<IUnknown*>(any)->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(any)->Release(), 1u);
  EXPECT_EQ(factory->CreateInstance(book, IID_IUnknown, &any), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IProvideClassInfo, &any), E_NOINTERFACE);
  EXPECT_EQ(any, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);  // without a lock: must not cancel the one below
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(factory->Release(), 0u);
  book->Release(), book = nullptr;
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);  // the lock alone
  ASSERT_EQ(DllGetClassObject(CLSID_JotBook, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(factory->Release(), 0u);
}

// The client helper finds the class by identifier as well as by name, in
// any case, only while it is registered, and loads the registered file.
TEST_F(EventsTest, TheClientHelperCreatesRegisteredObjectsByClassIdentifier) {
#ifdef _WIN32
  GTEST_SKIP()
      << "Windows registers the library file itself: its registration is tested through regsvr32";
#endif
  IDispatch* made = nullptr;
  void** out = reinterpret_cast<void**>(&made);
  EXPECT_EQ(JotwellCreateObject("{04229dbd-edda-4e43-b75f-66a8ecd82d0c}", IID_IDispatch, out), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(DllRegisterServer(), S_OK);  // as a library in the test's folder, which holds none yet
  EXPECT_EQ(JotwellCreateObject(JOTWELL_PROGID, IID_IDispatch, out), CO_E_DLLNOTFOUND);
  std::filesystem::copy_file(JOTWELL_SHARED_LIBRARY, dir.File("libjotwell.so"));
  EXPECT_EQ(JotwellCreateObject("{04229DBD-EDDA-4E43-B75F-66A8ECD82D0}", IID_IDispatch, out), CO_E_CLASSSTRING);
  ASSERT_EQ(JotwellCreateObject("{04229dbd-edda-4e43-b75f-66a8ecd82d0c}", IID_IDispatch, out), S_OK);
  EXPECT_EQ(made->Release(), 0u);
  ASSERT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(JotwellCreateObject(JOTWELL_PROGID, IID_IDispatch, out), REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace jotwell
