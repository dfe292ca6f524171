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

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "binding/MemberTable.h"
#include "jotwell/JotBookComponent.h"
#include "support/EventSink.h"

namespace {

using jotwell::binding::Kind;
using jotwell::binding::Mode;
using jotwell::binding::Type;

using Entry = HRESULT(STDAPICALLTYPE*)();
Entry EntryOf(HMODULE library, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Registers the library for the test program's run, as an installer does,
// and leaves nothing of it loaded.
class Registered : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK); }
  void TearDown() override { EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK); }

 private:
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
class Sink final : public jotwell::test::EventSink {
 public:
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

// Owns one reference.
template <class Interface>
struct Ref {
  Interface* p = nullptr;
  ~Ref() {
    if (p) p->Release();
  }
  Interface** operator&() { return &p; }
  Interface* operator->() const { return p; }
  void** out() { return reinterpret_cast<void**>(&p); }
};

BSTR Text(const char* ascii) {
  std::wstring wide(ascii, ascii + std::strlen(ascii));
  return SysAllocString(wide.c_str());
}

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The default source interface of a class: where its events come from.
GUID EventInterfaceOf(ITypeInfo* coclass) {
  TYPEATTR* attributes = nullptr;
  GUID found{};
  if (FAILED(coclass->GetTypeAttr(&attributes))) return found;
  for (UINT i = 0; i < attributes->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    Ref<ITypeInfo> implemented;
    TYPEATTR* implementedAttributes = nullptr;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) ||
        (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
            (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) ||
        FAILED(coclass->GetRefTypeOfImplType(i, &reference)) ||
        FAILED(coclass->GetRefTypeInfo(reference, &implemented)) ||
        FAILED(implemented->GetTypeAttr(&implementedAttributes)))
      continue;
    found = implementedAttributes->guid;
    implemented->ReleaseTypeAttr(implementedAttributes);
  }
  coclass->ReleaseTypeAttr(attributes);
  return found;
}

class ClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }

  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("jotwell-client-" + std::to_string(GetCurrentProcessId()));
};

// The events arrive at a sink found through the class information; an
// error's number, as the sink changes it, is the one the log's box shows.
TEST_F(ClientTest, EventsReachASinkFoundThroughTheClassInformation) {
  std::filesystem::create_directories(folder);
  const std::filesystem::path shown = folder / "shown.txt", log = folder / "events.log";
  {
    Ref<_JotBook> book;
    ASSERT_EQ(
        CoCreateInstance(CLSID_JotBook, nullptr, CLSCTX_INPROC_SERVER, IID__JotBook, book.out()),
        S_OK);
    Ref<IProvideClassInfo> provider;
    Ref<ITypeInfo> coclass;
    ASSERT_EQ(book->QueryInterface(IID_IProvideClassInfo, provider.out()), S_OK);
    ASSERT_EQ(provider->GetClassInfo(&coclass), S_OK);
    const GUID events = EventInterfaceOf(coclass.p);
    EXPECT_TRUE(IsEqualGUID(events, DIID___JotBook));

    Ref<IConnectionPointContainer> container;
    Ref<IConnectionPoint> point;
    Sink sink;
    DWORD cookie = 0;
    ASSERT_EQ(book->QueryInterface(IID_IConnectionPointContainer, container.out()), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(events, &point), S_OK);
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

    // The library's boxes go to standard error, here a file.
    std::fflush(stderr);
    const int terminal = _dup(2);
    std::FILE* boxes = std::fopen(shown.string().c_str(), "wb");
    _dup2(_fileno(boxes), 2);
    for (const std::filesystem::path& name : {log, folder / "missing" / "events.log"}) {
      BSTR path = Text(name.string().c_str()), event = Text("from the client");
      EXPECT_EQ(book->put_LogFileName(path), S_OK);
      EXPECT_EQ(book->WriteEventToLogFile(&event), S_OK);
      SysFreeString(path), SysFreeString(event);
    }
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
  std::filesystem::remove_all(folder);
}

// What a parameter of the member table reads as in the type library.
VARTYPE VariantTypeOf(Type type) {
  switch (type) {
    case Type::String: return VT_BSTR;
    case Type::Boolean: return VT_BOOL;
    case Type::Integer: return VT_I2;
    case Type::Long: return VT_I4;
    case Type::Currency: return VT_CY;
    default: return VT_EMPTY;
  }
}

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
    if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
      result = type;
      continue;
    }
    text += std::to_string(type) + (pointer ? " ref, " : " val, ");
  }
  return text + ") " + std::to_string(result);
}

std::string Described(const jotwell::binding::Member& member) {
  std::string text = std::string(member.name) + " " + std::to_string(member.id) + " ";
  text += std::to_string(member.kind == Kind::Get   ? INVOKE_PROPERTYGET
                         : member.kind == Kind::Let ? INVOKE_PROPERTYPUT
                                                    : INVOKE_FUNC) +
          " (";
  for (const auto& parameter : member.Parameters())
    text += std::to_string(VariantTypeOf(parameter.type)) +
            (parameter.mode == Mode::ByReference ? " ref, " : " val, ");
  return text + ") " + std::to_string(VariantTypeOf(member.result));
}

// The type library the file carries: its name, locale and three types; the
// class creatable and an application object; the dual interface hidden and
// not extensible, its functions those of the member table, in its order.
TEST_F(ClientTest, TheTypeLibraryDescribesTheMemberTable) {
  Ref<_JotBook> book;
  Ref<ITypeInfo> dual, coclass;
  Ref<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(
      CoCreateInstance(CLSID_JotBook, nullptr, CLSCTX_INPROC_SERVER, IID__JotBook, book.out()),
      S_OK);
  UINT count = 0;
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
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT),
            TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT);
  coclass->ReleaseTypeAttr(attributes);

  ASSERT_EQ(dual->GetTypeAttr(&attributes), S_OK);
  const WORD wanted = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
  EXPECT_EQ(attributes->wTypeFlags & wanted, wanted);
  // The dispatch description of a dual interface refers to its function
  // table's: that one lists the functions in their order.
  Ref<ITypeInfo> table;
  HREFTYPE reference = 0;
  if (attributes->typekind == TKIND_DISPATCH &&
      SUCCEEDED(dual->GetRefTypeOfImplType(-1, &reference)))
    dual->GetRefTypeInfo(reference, &table);
  dual->ReleaseTypeAttr(attributes);
  ITypeInfo* functions = table.p ? table.p : dual.p;
  ASSERT_EQ(functions->GetTypeAttr(&attributes), S_OK);
  std::vector<std::string> described, expected;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(functions->GetFuncDesc(i, &function), S_OK);
    described.push_back(Described(functions, *function));
    functions->ReleaseFuncDesc(function);
  }
  functions->ReleaseTypeAttr(attributes);
  for (const auto& member : jotwell::binding::kMembers) expected.push_back(Described(member));
  EXPECT_EQ(described, expected);
}

// A host thread of the multithreaded apartment reaches the object, which
// lives in an apartment of its own, through the marshalling that the
// registration set up: one call there, and one event back.
TEST_F(ClientTest, AHostInTheMultithreadedApartmentIsServedThroughMarshalling) {
  std::filesystem::create_directories(folder);
  const std::filesystem::path log = folder / "events.log";
  Sink sink;
  std::thread([&] {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    {
      Ref<_JotBook> book;
      Ref<IConnectionPointContainer> container;
      Ref<IConnectionPoint> point;
      DWORD cookie = 0;
      ASSERT_EQ(
          CoCreateInstance(CLSID_JotBook, nullptr, CLSCTX_INPROC_SERVER, IID__JotBook, book.out()),
          S_OK);
      ASSERT_EQ(book->QueryInterface(IID_IConnectionPointContainer, container.out()), S_OK);
      ASSERT_EQ(container->FindConnectionPoint(DIID___JotBook, &point), S_OK);
      ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
      BSTR path = Text(log.string().c_str()), event = Text("across apartments");
      EXPECT_EQ(book->put_LogFileName(path), S_OK);
      EXPECT_EQ(book->WriteEventToLogFile(&event), S_OK);
      SysFreeString(path), SysFreeString(event);
      EXPECT_EQ(point->Unadvise(cookie), S_OK);
    }
    CoUninitialize();
  }).join();
  EXPECT_EQ(sink.successes, 1);
  EXPECT_NE(Bytes(log).find(" - across apartments\r\n"), std::string::npos);
  std::filesystem::remove_all(folder);
}

// Once the host has released everything, the file may go, and does.
TEST_F(ClientTest, TheFileUnloadsOnceEverythingIsReleased) {
  {
    Ref<IDispatch> book;
    ASSERT_EQ(
        CoCreateInstance(CLSID_JotBook, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, book.out()),
        S_OK);
    HMODULE loaded = GetModuleHandleW(L"Jotwell.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(EntryOf(loaded, "DllCanUnloadNow")(), S_FALSE);
  }
  HMODULE loaded = GetModuleHandleW(L"Jotwell.dll");
  ASSERT_NE(loaded, nullptr);
  for (int i = 0; i < 40 && EntryOf(loaded, "DllCanUnloadNow")() != S_OK; ++i) Sleep(50);
  EXPECT_EQ(EntryOf(loaded, "DllCanUnloadNow")(), S_OK);
  CoFreeUnusedLibrariesEx(0, 0);
  EXPECT_EQ(GetModuleHandleW(L"Jotwell.dll"), nullptr);
}

}  // namespace
