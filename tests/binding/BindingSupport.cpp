#include "binding/BindingSupport.h"

#include <bit>

#include "binding/Utf16.h"

namespace jotwell::test {

// The library's own conversion, which Utf16Test checks on its own.
Bstr MakeBstr(const std::string& utf8) { return Bstr(binding::ToBstr(utf8)); }
std::string Utf8(BSTR text) { return binding::FromBstr(text); }

Var::Var(const Var& other) : VARIANT(other) {
  if (vt == VT_BSTR) bstrVal = SysAllocStringLen(other.bstrVal, SysStringLen(other.bstrVal));
}

Var Var::Of(VARTYPE type, LONGLONG bits) {
  Var v;
  return v.vt = type, v.llVal = bits, v;
}

Var Var::Text(const std::string& utf8) { return Of(VT_BSTR, reinterpret_cast<LONGLONG>(MakeBstr(utf8).release())); }
Var Var::Real(double value) { return Of(VT_R8, std::bit_cast<LONGLONG>(value)); }
Var Var::Ref(VARTYPE type, void* target) { return Of(VT_BYREF | type, reinterpret_cast<LONGLONG>(target)); }

void BindingTest::SetUp() {
  IsolatedReportsTest::SetUp();
  book = Create();
  ASSERT_NE(book, nullptr);
}

void BindingTest::TearDown() {
  EXPECT_TRUE(book == nullptr || book->Release() == 0u);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  IsolatedReportsTest::TearDown();
}

_JotBook* BindingTest::Create() {
  IClassFactory* factory = nullptr;
  _JotBook* created = nullptr;
  if (DllGetClassObject(CLSID_JotBook, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) return nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID__JotBook, reinterpret_cast<void**>(&created)), S_OK);
  EXPECT_EQ(factory->Release(), 0u);
  return created;
}

DISPID BindingTest::IdOf(const std::string& name) {
  Bstr text = MakeBstr(name);
  LPOLESTR names[] = {text.get()};
  DISPID id = DISPID_UNKNOWN;
  book->GetIDsOfNames(IID_NULL, names, 1, 0x409, &id);
  return id;
}

HRESULT BindingTest::Call(DISPID id, WORD flags, std::vector<Var> args, Var* result,
                          std::vector<DISPID> named, UINT* argumentError) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                    static_cast<UINT>(named.size())};
  return book->Invoke(id, IID_NULL, 0x409, flags, &params, result, nullptr, argumentError);
}

HRESULT BindingTest::Put(const std::string& name, const Var& value) {
  return Call(IdOf(name), DISPATCH_PROPERTYPUT, {value}, nullptr, {DISPID_PROPERTYPUT});
}

Var BindingTest::Get(const std::string& name) {
  Var result;
  EXPECT_EQ(Call(IdOf(name), DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result), S_OK);
  return result;
}

}  // namespace jotwell::test
