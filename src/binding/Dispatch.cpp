#include "binding/Dispatch.h"

#include <new>

#include "binding/Coercion.h"
#include "binding/Failure.h"
#include "binding/Object.h"

namespace jotwell::binding {
namespace {

// Names are ASCII; hosts may spell them in any case.
bool SameName(const OLECHAR* asked, const char* name) {
  if (asked == nullptr) return false;
  std::size_t i = 0;
  for (; name[i] != 0; ++i) {
    char16_t a = static_cast<char16_t>(asked[i]);
    char16_t n = static_cast<unsigned char>(name[i]);
    if (a >= 'A' && a <= 'Z') a += 'a' - 'A';
    if (n >= 'A' && n <= 'Z') n += 'a' - 'A';
    if (a != n) return false;
  }
  return asked[i] == 0;
}

// The first row of a name: a property's get, which carries its parameters'
// names for the let as well, since the let's one value is named by position.
const Member* FindByName(const OLECHAR* name) {
  for (const Member& member : kMembers)
    if (SameName(name, member.name)) return &member;
  return nullptr;
}

// The rows by the low five bits of their identifiers, which no two members
// share, and by kind: dispatch takes one look instead of a search.
constexpr std::size_t kSlots = 32;
enum KindIndex { kMethod, kGet, kLet, kKinds };

constexpr auto kRows = [] {
  std::array<std::array<const Member*, kKinds>, kSlots> rows{};
  for (const Member& member : kMembers) {
    int kind = member.kind == Kind::Method ? kMethod : member.kind == Kind::Get ? kGet : kLet;
    const Member*& row = rows[member.id & (kSlots - 1)][kind];
    if (row != nullptr && row->id != member.id) throw "two members share a slot";
    row = &member;
  }
  return rows;
}();

// The member a dispatch identifier and invocation flags name, or null.
const Member* Resolve(DISPID id, WORD flags) {
  const auto& rows = kRows[static_cast<DWORD>(id) & (kSlots - 1)];
  const Member* row = nullptr;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
    row = flags & DISPATCH_PROPERTYPUT ? rows[kLet] : nullptr;
  else if ((flags & DISPATCH_METHOD) && rows[kMethod] != nullptr)
    row = rows[kMethod];
  else if (flags & DISPATCH_PROPERTYGET)
    row = rows[kGet];
  return row != nullptr && row->id == id ? row : nullptr;
}

HRESULT CheckNamedArguments(const Member& member, const DISPPARAMS& params) {
  if (params.cNamedArgs == 0) return S_OK;
  bool thePutsValue = member.kind == Kind::Let && params.cNamedArgs == 1 &&
                      params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
  return thePutsValue ? S_OK : DISP_E_NONAMEDARGS;
}

}  // namespace

HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  HRESULT answer = S_OK;
  const Member* member = FindByName(names[0]);
  if (member == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = member->id;
  for (UINT i = 1; i < count; ++i) {
    const Member* withParameters = member;
    for (const Member& row : kMembers)
      if (row.id == member->id && row.parameterCount > withParameters->parameterCount) withParameters = &row;
    auto parameters = withParameters->Parameters();
    for (std::size_t p = 0; p < parameters.size(); ++p)
      if (SameName(names[i], parameters[p].name)) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) answer = DISP_E_UNKNOWNNAME;
  }
  return answer;
}

namespace {

HRESULT CallAnswer(HRESULT called) { return IsRuntimeError(called) ? DISP_E_EXCEPTION : called; }

// The common case, a property get or a method without parameters, kept
// short: it is most of what a host calls.
HRESULT CallWithoutArguments(Object& object, const Member& member, VARIANT* result, EXCEPINFO* info) {
  try {
    Values values;
    if (HRESULT called = object.Call(member, values, info); FAILED(called)) return CallAnswer(called);
    if (result != nullptr) StoreResult(member.result, values, *result);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT CallWithArguments(Object& object, const Member& member, DISPPARAMS& params, VARIANT* result,
                          EXCEPINFO* info, UINT* argumentError) {
  if ((params.cArgs > 0 && params.rgvarg == nullptr) ||
      (params.cNamedArgs > 0 && params.rgdispidNamedArgs == nullptr) || params.cNamedArgs > params.cArgs)
    return E_INVALIDARG;
  if (HRESULT named = CheckNamedArguments(member, params); FAILED(named)) return named;
  auto parameters = member.Parameters();
  if (params.cArgs != parameters.size()) return DISP_E_BADPARAMCOUNT;

  // Arguments arrive last first.
  auto argument = [&](std::size_t p) -> VARIANT& { return params.rgvarg[params.cArgs - 1 - p]; };
  try {
    Values values;
    for (std::size_t p = 0; p < parameters.size(); ++p) {
      if (HRESULT read = ReadArgument(argument(p), parameters[p].type, values, p); FAILED(read)) {
        if (argumentError != nullptr) *argumentError = static_cast<UINT>(params.cArgs - 1 - p);
        return read;
      }
    }
    if (HRESULT called = object.Call(member, values, info); FAILED(called)) return CallAnswer(called);
    for (std::size_t p = 0; p < parameters.size(); ++p)
      if (parameters[p].mode == Mode::ByReference && parameters[p].type == Type::String)
        WriteBack(argument(p), values.Text(p));
    if (result != nullptr) StoreResult(member.result, values, *result);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

HRESULT Invoke(Object& object, DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* info, UINT* argumentError) {
  if (!object.OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (params == nullptr) return E_INVALIDARG;
  const Member* member = Resolve(id, flags);
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs == 0 && params->cNamedArgs == 0 && member->parameterCount == 0)
    return CallWithoutArguments(object, *member, result, info);
  return CallWithArguments(object, *member, *params, result, info, argumentError);
}

}  // namespace jotwell::binding
