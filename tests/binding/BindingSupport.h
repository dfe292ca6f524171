// Helpers for the binding's tests: owned VARIANTs and BSTRs, and a fixture
// that creates a JotBook component object the way a host does.
#pragma once

#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "binding/Utf16.h"
#include "jotwell/JotBookComponent.h"
#include "support/ReportSupport.h"

namespace jotwell::test {

struct FreeBstr {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, FreeBstr>;

// The library's own conversion, which Utf16Test checks on its own.
inline Bstr MakeBstr(const std::string& utf8) { return Bstr(binding::ToBstr(utf8)); }
inline std::string Utf8(BSTR text) { return binding::FromBstr(text); }
// A string of these UTF-16 units, whichever type OLECHAR is.
inline BSTR UnitsBstr(std::u16string_view units) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(units.data()),
                           static_cast<UINT>(units.size()));
}
inline std::u16string UnitsOf(BSTR text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

// A VARIANT that owns what it holds; copies copy its string.
struct Var : VARIANT {
  Var() { VariantInit(this); }
  Var(const Var& other) : VARIANT(other) {
    if (vt == VT_BSTR) bstrVal = SysAllocStringLen(other.bstrVal, SysStringLen(other.bstrVal));
  }
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(this); }

  // The union's first bytes set from `bits`.
  static Var Of(VARTYPE type, LONGLONG bits) {
    Var v;
    return v.vt = type, v.llVal = bits, v;
  }
  static Var Text(const std::string& utf8) {
    return Of(VT_BSTR, reinterpret_cast<LONGLONG>(MakeBstr(utf8).release()));
  }
  static Var Real(double value) { return Of(VT_R8, std::bit_cast<LONGLONG>(value)); }
  // The same bits under another type: a date is a Double of days.
  Var As(VARTYPE type) const { return Of(type, llVal); }
  // VT_BYREF | type, borrowing target.
  static Var Ref(VARTYPE type, void* target) {
    return Of(VT_BYREF | type, reinterpret_cast<LONGLONG>(target));
  }
};

// Creates objects through the library's entry points; checks that every
// object, factory and connection is gone when the test ends.
class BindingTest : public IsolatedReportsTest {
 protected:
  void SetUp() override {
    IsolatedReportsTest::SetUp();
    ASSERT_NE(book = Create(), nullptr);
  }
  void TearDown() override {
    EXPECT_TRUE(book == nullptr || book->Release() == 0u);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    IsolatedReportsTest::TearDown();
  }

  // A new object through DllGetClassObject and CreateInstance.
  static _JotBook* Create() {
    IClassFactory* factory = nullptr;
    _JotBook* made = nullptr;
    void** out = reinterpret_cast<void**>(&factory);
    if (DllGetClassObject(CLSID_JotBook, IID_IClassFactory, out) != S_OK) return nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID__JotBook, reinterpret_cast<void**>(&made)),
              S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    return made;
  }
  DISPID IdOf(const std::string& name) {
    Bstr text = MakeBstr(name);
    LPOLESTR names[] = {text.get()};
    DISPID id = DISPID_UNKNOWN;
    book->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id);
    return id;
  }

  // Calls Invoke with `args` in parameter order.
  HRESULT Call(DISPID id, WORD flags, std::vector<Var> args, Var* result = nullptr,
               std::vector<DISPID> named = {}, UINT* argumentError = nullptr) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                      static_cast<UINT>(named.size())};
    return book->Invoke(id, IID_NULL, 0x409, flags, &params, result, nullptr, argumentError);
  }
  HRESULT Put(const std::string& name, const Var& value) {
    return Call(IdOf(name), DISPATCH_PROPERTYPUT, {value}, nullptr, {DISPID_PROPERTYPUT});
  }
  Var Get(const std::string& name) {
    Var result;
    EXPECT_EQ(Call(IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result), S_OK);
    return result;
  }

  _JotBook* book = nullptr;
  ScopedEnv dataHome{"XDG_DATA_HOME", dir.path().string()};  // the recent list stays here
};

}  // namespace jotwell::test
