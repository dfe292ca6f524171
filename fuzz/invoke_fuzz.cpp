// Arbitrary calls through the component's IDispatch: identifiers, flags,
// argument counts, named arguments and well-formed variants of every type
// the interface takes and some it refuses, by-reference ones pointing at
// real storage; and arbitrary names for GetIDsOfNames. Every text a call
// can take for a path starts inside a scratch folder (which is also the
// working folder, the library's folder and the data home), so no call
// reaches a real file. A crash, a leak or a sanitizer report is a finding;
// so is an object left with references after the run.
//
// Input: a sequence of calls, each drawn from FuzzedDataProvider.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "binding/MemberTable.h"
#include "jotwell/JotBookComponent.h"
#include "jotwell/testing/ScriptedDesktop.h"
#include "platform/component.h"

namespace {

using namespace jotwell;
namespace fs = std::filesystem;

fs::path scratch;

// The library lives in the scratch folder: its error log lands there.
struct ScratchLibrary : platform::ForwardingComponentFile {
  String LibraryPath() override { return (scratch / "libjotwell.so").string(); }
  String UserFolderOf(platform::UserFolder) override { return (scratch / "user").string(); }
  String MakeUserFolder(platform::UserFolder kind) override {
    fs::create_directories(UserFolderOf(kind));
    return UserFolderOf(kind);
  }
} scratchLibrary;

// Text as UTF-16 code units, unpaired surrogates and NULs included; a
// separator could climb out of the scratch folder, so it never occurs.
std::u16string Units(FuzzedDataProvider& data, std::size_t most) {
  std::u16string units;
  for (std::size_t n = data.ConsumeIntegralInRange<std::size_t>(0, most); n > 0 && data.remaining_bytes() >= 2; --n) {
    char16_t unit = data.ConsumeIntegral<char16_t>();
    units.push_back(unit == u'/' ? u'_' : unit);
  }
  return units;
}

BSTR Bstr(const std::u16string& units) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()), static_cast<UINT>(units.size()));
}

// A path-safe text: the scratch folder's own name, then the fuzzed units.
BSTR ScratchText(FuzzedDataProvider& data) {
  std::string prefix = (scratch / "f").string();
  return Bstr(std::u16string(prefix.begin(), prefix.end()) + Units(data, 40));
}

// Storage a by-reference argument points into.
struct Target {
  VARIANT inner;
  BSTR text = nullptr;
  LONGLONG number = 0;
  double real = 0;
  SHORT shortNumber = 0;
  VARIANT_BOOL flag = 0;
  CY money{};
};

constexpr VARTYPE kPlainTypes[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR,
                                   VT_DISPATCH, VT_ERROR, VT_BOOL, VT_UNKNOWN, VT_I1, VT_UI1, VT_UI2,
                                   VT_UI4, VT_I8, VT_UI8, VT_INT, VT_UINT, VT_DECIMAL};

void FillPlain(FuzzedDataProvider& data, VARIANT& v) {
  VariantInit(&v);
  v.vt = data.PickValueInArray(kPlainTypes);
  if (v.vt == VT_BSTR) {
    v.bstrVal = ScratchText(data);
  } else if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
    v.punkVal = nullptr;  // never an arbitrary pointer
  } else if (v.vt == VT_DECIMAL) {
    v.vt = VT_EMPTY;
  } else {
    v.llVal = data.ConsumeIntegral<LONGLONG>();
  }
}

// A plain variant, or one that refers to storage in `target`.
void FillArgument(FuzzedDataProvider& data, VARIANT& v, Target& target) {
  VariantInit(&target.inner);
  switch (data.ConsumeIntegralInRange(0, 6)) {
    case 0:
      target.text = ScratchText(data);
      v.vt = VT_BYREF | VT_BSTR, v.pbstrVal = &target.text;
      break;
    case 1:
      target.shortNumber = data.ConsumeIntegral<SHORT>();
      v.vt = VT_BYREF | VT_I2, v.piVal = &target.shortNumber;
      break;
    case 2:
      target.number = data.ConsumeIntegral<LONGLONG>();
      v.vt = VT_BYREF | data.PickValueInArray({VT_I4, VT_I8, VT_UI4, VT_I1}), v.pllVal = &target.number;
      break;
    case 3:
      target.flag = data.ConsumeIntegral<VARIANT_BOOL>();
      v.vt = VT_BYREF | VT_BOOL, v.pboolVal = &target.flag;
      break;
    case 4:
      FillPlain(data, target.inner);
      v.vt = VT_BYREF | VT_VARIANT, v.pvarVal = &target.inner;
      break;
    case 5:
      target.real = data.ConsumeFloatingPoint<double>();
      v.vt = VT_BYREF | data.PickValueInArray({VT_R8, VT_DATE}), v.pdblVal = &target.real;
      break;
    default:
      FillPlain(data, v);
  }
}

void Release(VARIANT& v, Target& target) {
  if (v.vt == (VT_BYREF | VT_BSTR)) SysFreeString(target.text);
  VariantClear(&target.inner);
  if (!(v.vt & VT_BYREF)) VariantClear(&v);
}

DISPID PickIdentifier(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return binding::kMembers[data.ConsumeIntegralInRange<std::size_t>(0, binding::kMembers.size() - 1)].id;
  return data.PickValueInArray({DISPID(0), DISPID(-1), DISPID_PROPERTYPUT, data.ConsumeIntegral<DISPID>()});
}

void Invoke(IDispatch* object, FuzzedDataProvider& data) {
  std::size_t count = data.ConsumeIntegralInRange<std::size_t>(0, 5);
  std::vector<VARIANT> arguments(count);
  std::vector<Target> targets(count);
  for (std::size_t i = 0; i < count; ++i) FillArgument(data, arguments[i], targets[i]);
  std::vector<DISPID> named(data.ConsumeIntegralInRange<std::size_t>(0, count + 1));
  for (DISPID& id : named) id = data.ConsumeBool() ? DISPID_PROPERTYPUT : data.ConsumeIntegral<DISPID>();
  DISPPARAMS parameters{arguments.data(), named.data(), static_cast<UINT>(count), static_cast<UINT>(named.size())};
  WORD flags = data.ConsumeBool() ? data.PickValueInArray({WORD(DISPATCH_METHOD), WORD(DISPATCH_PROPERTYGET),
                                                          WORD(DISPATCH_METHOD | DISPATCH_PROPERTYGET),
                                                          WORD(DISPATCH_PROPERTYPUT), WORD(DISPATCH_PROPERTYPUTREF)})
                                  : data.ConsumeIntegral<WORD>();
  DISPID id = PickIdentifier(data);
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO failure{};
  UINT argumentError = 0;
  bool wantsResult = data.ConsumeBool();
  object->Invoke(id, IID_NULL, 0x409, flags, &parameters, wantsResult ? &result : nullptr, &failure, &argumentError);
  VariantClear(&result);
  SysFreeString(failure.bstrSource);
  SysFreeString(failure.bstrDescription);
  SysFreeString(failure.bstrHelpFile);
  for (std::size_t i = 0; i < count; ++i) Release(arguments[i], targets[i]);
}

void LookUpNames(IDispatch* object, FuzzedDataProvider& data) {
  std::vector<BSTR> names(data.ConsumeIntegralInRange<std::size_t>(1, 3));
  for (BSTR& name : names) name = Bstr(Units(data, 30));
  std::vector<DISPID> ids(names.size());
  object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), 0x409, ids.data());
  for (BSTR name : names) SysFreeString(name);
}

void EmptyScratch() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(scratch, ignored)) fs::remove_all(entry.path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char made[] = "/tmp/invoke_fuzz.XXXXXX";
  if (!::mkdtemp(made) || ::chdir(made) != 0) std::abort();
  scratch = made;
  // Before GLib reads it: the trash and the recent list stay in the scratch.
  ::setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
  ::setenv("XDG_STATE_HOME", (scratch / "state").c_str(), 1);
  platform::Group<platform::ComponentFile>::Install(&scratchLibrary);
  std::atexit([] { fs::remove_all(scratch); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  // A fresh desktop for each input, so that what it records stays small.
  SetDesktop(std::make_shared<testing::ScriptedDesktop>());
  IClassFactory* factory = nullptr;
  IDispatch* object = nullptr;
  if (DllGetClassObject(CLSID_JotBook, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK ||
      factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)) != S_OK)
    std::abort();
  factory->Release();
  for (int calls = 0; calls < 8 && data.remaining_bytes() > 0; ++calls)
    data.ConsumeBool() ? Invoke(object, data) : LookUpNames(object, data);
  if (object->Release() != 0 || DllCanUnloadNow() != S_OK) std::abort();
  EmptyScratch();
  return 0;
}
