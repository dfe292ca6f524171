#include "component/binding/BindingSupport.h"

#include <cstring>
#include <string_view>

namespace jotwell::test {

Bstr MakeBstr(const std::string& utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {  // tests use BMP text only
    unsigned char c = utf8[i];
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;
    char32_t code = extra == 0 ? c : c & (extra == 1 ? 0x1F : 0x0F);
    for (int k = 1; k <= extra; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
    units += static_cast<char16_t>(code);
    i += extra + 1;
  }
  return Bstr(SysAllocStringLen(units.data(), static_cast<UINT>(units.size())));
}

std::string Utf8(BSTR text) {
  std::string out;
  for (UINT i = 0; i < SysStringLen(text); ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6)), out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12)), out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

Var::Var(const Var& other) : VARIANT(other) {
  if (vt == VT_BSTR) bstrVal = SysAllocStringLen(other.bstrVal, SysStringLen(other.bstrVal));
}

Var Var::Of(VARTYPE type, LONGLONG bits) {
  Var v;
  v.vt = type;
  v.llVal = bits;
  return v;
}

Var Var::Text(const std::string& utf8) {
  Var v;
  v.vt = VT_BSTR;
  v.bstrVal = MakeBstr(utf8).release();
  return v;
}

Var Var::Real(double value) {
  Var v;
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

Var Var::Ref(VARTYPE type, void* target) {
  Var v;
  v.vt = VT_BYREF | type;
  v.byref = target;
  return v;
}

void BindingTest::SetUp() {
  IsolatedReportsTest::SetUp();
  book = Create();
  ASSERT_NE(book, nullptr);
}

void BindingTest::TearDown() {
  if (book != nullptr) {
    EXPECT_EQ(book->Release(), 0u);
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  IsolatedReportsTest::TearDown();
}

_JotBook* BindingTest::Create() {
  IClassFactory* factory = nullptr;
  EXPECT_EQ(DllGetClassObject(CLSID_JotBook, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  if (factory == nullptr) return nullptr;
  _JotBook* created = nullptr;
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
                          std::vector<DISPID> named, UINT* argumentError, EXCEPINFO* info) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), named.data(), static_cast<UINT>(reversed.size()),
                    static_cast<UINT>(named.size())};
  return book->Invoke(id, IID_NULL, 0x409, flags, &params, result, info, argumentError);
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
