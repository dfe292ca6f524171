// Helpers for the binding's tests: owned VARIANTs and BSTRs, and a fixture
// that creates a JotBook component object the way a host does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jotwell/JotBookComponent.h"
#include "support/ReportSupport.h"

namespace jotwell::test {

struct FreeBstr {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, FreeBstr>;

Bstr MakeBstr(const std::string& utf8);
std::string Utf8(BSTR text);

// A VARIANT that owns what it holds; copies copy its string.
struct Var : VARIANT {
  Var() { VariantInit(this); }
  Var(const Var& other);
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(this); }

  static Var Of(VARTYPE type, LONGLONG bits);  // the union's first bytes set from `bits`
  static Var Text(const std::string& utf8);
  static Var Real(double value);
  static Var Ref(VARTYPE type, void* target);  // VT_BYREF | type, borrowing target
};

// Creates objects through the library's entry points; checks that every
// object, factory and connection is gone when the test ends.
class BindingTest : public IsolatedReportsTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new object through DllGetClassObject and CreateInstance.
  static _JotBook* Create();
  DISPID IdOf(const std::string& name);

  // Calls Invoke with `args` in parameter order.
  HRESULT Call(DISPID id, WORD flags, std::vector<Var> args, Var* result = nullptr,
               std::vector<DISPID> named = {}, UINT* argumentError = nullptr);
  HRESULT Put(const std::string& name, const Var& value);
  Var Get(const std::string& name);

  _JotBook* book = nullptr;
  ScopedEnv dataHome{"XDG_DATA_HOME", dir.path().string()};  // the recent list stays here
};

}  // namespace jotwell::test
