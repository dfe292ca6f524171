// register, unregister and call: the component as automation clients see
// it. `call` creates an object through the registration record and calls
// any member by name, late bound, as a script host would.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "Component.h"
#include "Utf16.h"
#include "jotwell/JotBookComponent.h"

namespace jotbook {
namespace {

// Owns a VARIANT.
struct Value : VARIANT {
  Value() { VariantInit(this); }
  ~Value() { VariantClear(this); }
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;
};

std::string TextOf(const VARIANT& v) {
  switch (v.vt) {
    case VT_BSTR: return FromBstr(v.bstrVal);
    case VT_BOOL: return v.boolVal == VARIANT_TRUE ? "True" : v.boolVal == VARIANT_FALSE ? "False" : std::to_string(v.boolVal);
    case VT_I2: return std::to_string(v.iVal);
    case VT_I4: return std::to_string(v.lVal);
    case VT_CY: {
      std::string whole = std::to_string(v.cyVal.int64 / 10000);
      std::string fraction = std::to_string(10000 + std::llabs(v.cyVal.int64 % 10000)).substr(1);
      fraction.erase(fraction.find_last_not_of('0') + 1);
      return fraction.empty() ? whole : whole + "." + fraction;
    }
    default: return "";
  }
}

const char* NameOf(HRESULT code) {
  struct Known { HRESULT code; const char* name; };
  static constexpr Known kKnown[] = {
      {DISP_E_UNKNOWNNAME, "DISP_E_UNKNOWNNAME: unknown name"},
      {DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND: member not found"},
      {DISP_E_BADPARAMCOUNT, "DISP_E_BADPARAMCOUNT: wrong number of arguments"},
      {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH: type mismatch"},
      {DISP_E_OVERFLOW, "DISP_E_OVERFLOW: number out of range"},
      {DISP_E_EXCEPTION, "DISP_E_EXCEPTION"},
      {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG: class not registered (run jotbook register)"},
      {CO_E_CLASSSTRING, "CO_E_CLASSSTRING: no class of that name (run jotbook register)"},
      {CO_E_DLLNOTFOUND, "CO_E_DLLNOTFOUND: the registered library cannot be loaded"},
  };
  for (const Known& known : kKnown)
    if (known.code == code) return known.name;
  return "failed";
}

int Failed(const std::string& what, HRESULT code, const EXCEPINFO* info = nullptr) {
  std::string detail = info && info->bstrDescription ? ": " + FromBstr(info->bstrDescription) : "";
  std::fprintf(stderr, "jotbook: %s: 0x%08X %s%s\n", what.c_str(), static_cast<unsigned>(code), NameOf(code),
               detail.c_str());
  if (info) SysFreeString(info->bstrSource), SysFreeString(info->bstrDescription);
  return kFailed;
}

// Calls `member` with `args` (text, which the component converts as each
// parameter needs), each passed by reference so the member may change it.
HRESULT Invoke(IDispatch* object, const std::string& member, WORD flags, Value* args, UINT count,
               VARIANT* result, EXCEPINFO* info, DISPID* id) {
  BSTR name = ToBstr(member);
  HRESULT found = object->GetIDsOfNames(IID_NULL, &name, 1, 0x409, id);
  SysFreeString(name);
  if (FAILED(found)) return found;
  std::vector<VARIANT> passed(count);
  for (UINT i = 0; i < count; ++i) {
    VARIANT& reference = passed[count - 1 - i];
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &args[i];
  }
  DISPID put = DISPID_PROPERTYPUT;
  bool isPut = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{passed.data(), isPut ? &put : nullptr, count, isPut ? 1u : 0u};
  return object->Invoke(*id, IID_NULL, 0x409, flags, &params, result, info, nullptr);
}

}  // namespace

int Register(const Arguments& args) {
  if (!args.empty()) return Usage();
  HRESULT done = RegisterComponent();
  return SUCCEEDED(done) ? kDone : Failed("register", done);
}

int Unregister(const Arguments& args) {
  if (!args.empty()) return Usage();
  HRESULT done = UnregisterComponent();
  return SUCCEEDED(done) ? kDone : Failed("unregister", done);
}

int Call(const Arguments& args) {
  std::size_t next = 0;
  std::vector<std::pair<std::string, std::string>> settings;
  for (; next + 1 < args.size() && args[next] == "--set"; next += 2) {
    std::size_t equals = args[next + 1].find('=');
    if (equals == std::string::npos) return Usage();
    settings.emplace_back(args[next + 1].substr(0, equals), args[next + 1].substr(equals + 1));
  }
  if (next >= args.size()) return Usage();
  IDispatch* object = nullptr;
  if (HRESULT made = CreateRegistered(JOTWELL_PROGID, &object); FAILED(made))
    return Failed(JOTWELL_PROGID, made);
  struct Releaser { IDispatch* object; ~Releaser() { object->Release(); } } releaser{object};
  EXCEPINFO info{};
  DISPID id = 0;
  for (const auto& [property, text] : settings) {
    Value value;
    value.vt = VT_BSTR, value.bstrVal = ToBstr(text);
    if (HRESULT put = Invoke(object, property, DISPATCH_PROPERTYPUT, &value, 1, nullptr, &info, &id); FAILED(put))
      return Failed(property, put, &info);
  }
  const std::string& member = args[next++];
  std::vector<Value> values(args.size() - next);
  for (std::size_t i = 0; i < values.size(); ++i) values[i].vt = VT_BSTR, values[i].bstrVal = ToBstr(args[next + i]);
  Value result;
  HRESULT called = Invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, values.data(),
                          static_cast<UINT>(values.size()), &result, &info, &id);
  if (FAILED(called)) return Failed(member, called, &info);
  if (result.vt != VT_EMPTY) std::printf("%s\n", TextOf(result).c_str());
  for (std::size_t i = 0; i < values.size(); ++i)
    if (TextOf(values[i]) != args[next + i]) std::printf("%s\n", TextOf(values[i]).c_str());
  return kDone;
}

}  // namespace jotbook
