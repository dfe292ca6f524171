// A C++ host of the registered component, as hosts on Windows use it: made
// by its class identifier through the component runtime, its events found
// through its class information and received by a sink of its own, its
// type library read back against the member table, and the file unloaded
// once everything is released.
#include <windows.h>

#include <io.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <wrl/client.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "binding/MemberTable.h"
#include "jotwell/JotBookComponent.h"
#include "support/EventSink.h"

namespace {

using jotwell::binding::Kind;
using jotwell::binding::Mode;
using jotwell::binding::Type;
using Microsoft::WRL::ComPtr;

using Entry = HRESULT(STDAPICALLTYPE*)();
Entry EntryOf(HMODULE library, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Registers the library for the test program's run, as an installer does,
// and leaves nothing of it loaded.
struct Registered : ::testing::Environment {
  void SetUp() override { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }
  void TearDown() override { EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK); }
  static HRESULT CallEntry(const char* entry) {
    HMODULE library = LoadLibraryA(JOTWELL_DLL);
    if (library == nullptr) return HRESULT_FROM_WIN32(GetLastError());
    auto call = EntryOf(library, entry);
    HRESULT answer = call ? call() : E_NOTIMPL;
    FreeLibrary(library);
    return answer;
  }
};
const auto* const registered = ::testing::AddGlobalTestEnvironment(new Registered);

// An event sink of the host's own: counts the events, and changes the error
// number it is given to 99.
struct Sink final : jotwell::test::EventSink {
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id == DISPID_SuccessfulWriteToLogFile) ++successes;
    if (id == DISPID_ErrorWritingToLogFile && params->cArgs == 1 &&
        params->rgvarg[0].vt == (VT_I2 | VT_BYREF)) {
      errors.push_back(*params->rgvarg[0].piVal);
      *params->rgvarg[0].piVal = 99;
    }
    return S_OK;
  }

  // Events reach a sink of the multithreaded apartment on a thread of the
  // runtime's.
  std::atomic<int> successes = 0;
  std::vector<SHORT> errors;
};

// The registered class, made through the runtime by its identifier.
HRESULT Create(REFIID iid, void** object) {
  return CoCreateInstance(CLSID_JotBook, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

// Advises `sink` at the object's connection point for `events`.
HRESULT Advise(IUnknown* object, REFIID events, IDispatch* sink, ComPtr<IConnectionPoint>& point,
               DWORD& cookie) {
  ComPtr<IConnectionPointContainer> container;
  HRESULT result = object->QueryInterface(IID_IConnectionPointContainer, &container);
  if (SUCCEEDED(result)) result = container->FindConnectionPoint(events, &point);
  return SUCCEEDED(result) ? point->Advise(sink, &cookie) : result;
}

// Points the book's log at `log` and writes `event` to it.
void WriteEvent(_JotBook* book, const std::filesystem::path& log, const wchar_t* event) {
  BSTR path = SysAllocString(log.c_str()), text = SysAllocString(event);
  EXPECT_EQ(book->put_LogFileName(path), S_OK);
  EXPECT_EQ(book->WriteEventToLogFile(&text), S_OK);
  SysFreeString(path), SysFreeString(text);
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A copy of the type's attributes (zeros when it has none): the runtime's
// own are released at once.
TYPEATTR AttributesOf(ITypeInfo* type) {
  TYPEATTR* lent = nullptr;
  TYPEATTR copy{};
  if (FAILED(type->GetTypeAttr(&lent))) return copy;
  copy = *lent;
  type->ReleaseTypeAttr(lent);
  return copy;
}

// The default source interface of a class: where its events come from.
GUID EventInterfaceOf(ITypeInfo* coclass) {
  const INT wanted = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
  for (UINT i = 0; i < AttributesOf(coclass).cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> implemented;
    if (SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)) && (flags & wanted) == wanted &&
        SUCCEEDED(coclass->GetRefTypeOfImplType(i, &reference)) &&
        SUCCEEDED(coclass->GetRefTypeInfo(reference, &implemented)))
      return AttributesOf(implemented.Get()).guid;
  }
  return GUID{};
}

class ClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    CoUninitialize();
    std::filesystem::remove_all(folder);
  }

  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("jotwell-client-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::path log = folder / "events.log";
  Sink sink;
};

// The events arrive at a sink found through the class information; an
// error's number, as the sink changes it, is the one the log's box shows.
TEST_F(ClientTest, EventsReachASinkFoundThroughTheClassInformation) {
  const std::filesystem::path shown = folder / "shown.txt";
  ComPtr<_JotBook> book;
  ASSERT_EQ(Create(IID__JotBook, &book), S_OK);
  ComPtr<IProvideClassInfo> provider;
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(book->QueryInterface(IID_IProvideClassInfo, &provider), S_OK);
  ASSERT_EQ(provider->GetClassInfo(&coclass), S_OK);
  const GUID events = EventInterfaceOf(coclass.Get());
  EXPECT_TRUE(IsEqualGUID(events, DIID___JotBook));
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  ASSERT_EQ(Advise(book.Get(), events, &sink, point, cookie), S_OK);

  // The library's boxes go to standard error, here a file.
  std::fflush(stderr);
  const int terminal = _dup(2);
  std::FILE* boxes = std::fopen(shown.string().c_str(), "wb");
  _dup2(_fileno(boxes), 2);
  for (const auto& name : {log, folder / "missing" / "events.log"})
    WriteEvent(book.Get(), name, L"from the client");
  std::fflush(stderr);
  _dup2(terminal, 2);
  std::fclose(boxes);

  EXPECT_EQ(sink.successes, 1);
  EXPECT_EQ(sink.errors, std::vector<SHORT>{76});
  EXPECT_NE(Bytes(shown).find("Run Time Error Number 99 occurred."), std::string::npos)
      << Bytes(shown);
  EXPECT_NE(Bytes(log).find(" - from the client\r\n"), std::string::npos);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(sink.references, 1u);
}

// What a parameter of the member table reads as in the type library.
const std::map<Type, VARTYPE> kVariantTypes{{Type::None, VT_EMPTY},   {Type::String, VT_BSTR},
                                            {Type::Boolean, VT_BOOL}, {Type::Integer, VT_I2},
                                            {Type::Long, VT_I4},      {Type::Currency, VT_CY}};

// A function of the type library as "name id kind (type mode, ...) result".
std::string Described(ITypeInfo* info, const FUNCDESC& function) {
  BSTR name = nullptr;
  info->GetDocumentation(function.memid, &name, nullptr, nullptr, nullptr);
  std::string text(name, name + SysStringLen(name));
  SysFreeString(name);
  text += " " + std::to_string(function.memid) + " " + std::to_string(function.invkind) + " (";
  VARTYPE result = VT_EMPTY;
  for (SHORT i = 0; i < function.cParams; ++i) {
    const ELEMDESC& parameter = function.lprgelemdescParam[i];
    const bool pointer = parameter.tdesc.vt == VT_PTR;
    const VARTYPE type = pointer ? parameter.tdesc.lptdesc->vt : parameter.tdesc.vt;
    if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) result = type;
    else text += std::to_string(type) + (pointer ? " ref, " : " val, ");
  }
  return text + ") " + std::to_string(result);
}

std::string Described(const jotwell::binding::Member& member) {
  const int kind = member.kind == Kind::Get   ? INVOKE_PROPERTYGET
                   : member.kind == Kind::Let ? INVOKE_PROPERTYPUT
                                              : INVOKE_FUNC;
  std::string text = std::string(member.name) + " " + std::to_string(member.id) + " " +
                     std::to_string(kind) + " (";
  for (const auto& parameter : member.Parameters())
    text += std::to_string(kVariantTypes.at(parameter.type)) +
            (parameter.mode == Mode::ByReference ? " ref, " : " val, ");
  return text + ") " + std::to_string(kVariantTypes.at(member.result));
}

// The type library the file carries: its name, locale and three types; the
// class creatable and an application object; the dual interface hidden and
// not extensible, its functions those of the member table, in its order.
TEST_F(ClientTest, TheTypeLibraryDescribesTheMemberTable) {
  ComPtr<_JotBook> book;
  ComPtr<ITypeInfo> dual, coclass, table;
  ComPtr<ITypeLib> library;
  UINT count = 0, index = 0;
  ASSERT_EQ(Create(IID__JotBook, &book), S_OK);
  ASSERT_EQ(book->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(book->GetTypeInfo(0, 0x409, &dual), S_OK);
  ASSERT_EQ(dual->GetContainingTypeLib(&library, &index), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(name, SysStringLen(name)), L"Jotwell");
  SysFreeString(name);
  TLIBATTR* libraryAttributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libraryAttributes), S_OK);
  EXPECT_EQ(libraryAttributes->lcid, 0x409u);
  library->ReleaseTLibAttr(libraryAttributes);
  EXPECT_EQ(library->GetTypeInfoCount(), 3u);

  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_JotBook, &coclass), S_OK);
  const WORD creatable = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT;
  EXPECT_EQ(AttributesOf(coclass.Get()).wTypeFlags & creatable, creatable);
  const TYPEATTR attributes = AttributesOf(dual.Get());
  const WORD hidden = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
  EXPECT_EQ(attributes.wTypeFlags & hidden, hidden);
  // The dispatch description of a dual interface refers to its function
  // table's: that one lists the functions in their order.
  HREFTYPE reference = 0;
  if (attributes.typekind == TKIND_DISPATCH &&
      SUCCEEDED(dual->GetRefTypeOfImplType(-1, &reference)))
    dual->GetRefTypeInfo(reference, &table);
  ITypeInfo* functions = table.Get() ? table.Get() : dual.Get();
  std::vector<std::string> described, expected;
  for (UINT i = 0; i < AttributesOf(functions).cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(functions->GetFuncDesc(i, &function), S_OK);
    described.push_back(Described(functions, *function));
    functions->ReleaseFuncDesc(function);
  }
  for (const auto& member : jotwell::binding::kMembers) expected.push_back(Described(member));
  EXPECT_EQ(described, expected);
}

// A host thread of the multithreaded apartment reaches the object, which
// lives in an apartment of its own, through the marshalling that the
// registration set up: one call there, and one event back.
TEST_F(ClientTest, AHostInTheMultithreadedApartmentIsServedThroughMarshalling) {
  std::thread([&] {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    {
      ComPtr<_JotBook> book;
      ComPtr<IConnectionPoint> point;
      DWORD cookie = 0;
      ASSERT_EQ(Create(IID__JotBook, &book), S_OK);
      ASSERT_EQ(Advise(book.Get(), DIID___JotBook, &sink, point, cookie), S_OK);
      WriteEvent(book.Get(), log, L"across apartments");
      EXPECT_EQ(point->Unadvise(cookie), S_OK);
    }
    CoUninitialize();
  }).join();
  EXPECT_EQ(sink.successes, 1);
  EXPECT_NE(Bytes(log).find(" - across apartments\r\n"), std::string::npos);
}

// Once the host has released everything, the file may go, and does.
TEST_F(ClientTest, TheFileUnloadsOnceEverythingIsReleased) {
  const auto canUnloadNow = [] {
    HMODULE loaded = GetModuleHandleW(L"Jotwell.dll");
    return loaded ? EntryOf(loaded, "DllCanUnloadNow")() : E_UNEXPECTED;
  };
  {
    ComPtr<IDispatch> book;
    ASSERT_EQ(Create(IID_IDispatch, &book), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
  }
  for (int i = 0; i < 40 && canUnloadNow() != S_OK; ++i) Sleep(50);
  EXPECT_EQ(canUnloadNow(), S_OK);
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(GetModuleHandleW(L"Jotwell.dll"), nullptr);
}

}  // namespace
