#include "binding/FunctionTable.h"

#include <new>
#include <utility>

#include "binding/Dispatch.h"
#include "binding/Object.h"
#include "binding/Utf16.h"
#include "jotwell/JotBookComponent.h"
#include "platform/runtime.h"

namespace jotwell::binding {
namespace {

// The C type of each parameter and result.
template <Type T, Mode M>
struct CParameter;
template <> struct CParameter<Type::String, Mode::ByValue> { using type = BSTR; };
template <> struct CParameter<Type::String, Mode::ByReference> { using type = BSTR*; };
template <> struct CParameter<Type::Boolean, Mode::ByValue> { using type = VARIANT_BOOL; };
template <> struct CParameter<Type::Long, Mode::ByValue> { using type = LONG; };

template <Type T>
struct CResult;
template <> struct CResult<Type::String> { using type = BSTR; };
template <> struct CResult<Type::Boolean> { using type = VARIANT_BOOL; };
template <> struct CResult<Type::Integer> { using type = SHORT; };
template <> struct CResult<Type::Long> { using type = LONG; };
template <> struct CResult<Type::Currency> { using type = CY; };
// Never called: a member without a result takes WithoutResult. Some
// compilers still form WithResult's signature for it.
template <> struct CResult<Type::None> { using type = void; };

void Read(BSTR text, Values& v, std::size_t slot) { v.Text(slot) = FromBstr(text); }
void Read(BSTR* text, Values& v, std::size_t slot) { v.Text(slot) = FromBstr(*text); }
void Read(VARIANT_BOOL raw, Values& v, std::size_t slot) { v.number[slot] = raw; }
void Read(LONG number, Values& v, std::size_t slot) { v.number[slot] = number; }

// A null BSTR is the empty string; a null BSTR* is no variable at all.
bool Missing(BSTR) { return false; }
bool Missing(BSTR* text) { return text == nullptr; }
bool Missing(VARIANT_BOOL) { return false; }
bool Missing(LONG) { return false; }

void WriteBack(BSTR* text, Values& v, std::size_t slot) {
  if (FromBstr(*text) != v.Text(slot)) Assign(text, v.Text(slot));
}
void WriteBack(auto, Values&, std::size_t) {}

void Store(Values& v, BSTR* out) { *out = ToBstr(v.ResultText()); }
// Booleans and Integers are both 16-bit.
void Store(Values& v, SHORT* out) { *out = static_cast<SHORT>(v.resultNumber); }
void Store(Values& v, LONG* out) { *out = static_cast<LONG>(v.resultNumber); }
void Store(Values& v, CY* out) { out->int64 = v.resultNumber; }

// One member's entry: reads its arguments, runs it through the object and
// writes back by-reference text and the result. A string failure that
// happens after the member ran reports E_OUTOFMEMORY.
template <std::size_t Row>
struct Adapter {
  static constexpr const Member& kMember = kMembers[Row];
  template <std::size_t I>
  using Parameter = typename CParameter<kMember.parameters[I].type, kMember.parameters[I].mode>::type;

  template <class... Args, class Finish>
  static HRESULT Run(DualView* self, Finish&& finish, Args... args) {
    if (!self->object->OnOwnThread()) return RPC_E_WRONG_THREAD;
    if ((Missing(args) || ...)) return E_POINTER;
    try {
      Values values;
      std::size_t slot = 0;
      (Read(args, values, slot++), ...);
      if (HRESULT called = self->object->Call(kMember, values, nullptr); FAILED(called)) return called;
      slot = 0;
      (WriteBack(args, values, slot++), ...);
      finish(values);
      return S_OK;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

  template <std::size_t... I>
  static HRESULT STDMETHODCALLTYPE WithoutResult(DualView* self, Parameter<I>... args) {
    return Run(self, [](Values&) {}, args...);
  }
  template <std::size_t... I>
  static HRESULT STDMETHODCALLTYPE WithResult(DualView* self, Parameter<I>... args,
                                              typename CResult<kMember.result>::type* out) {
    if (out == nullptr) return E_POINTER;
    return Run(self, [&](Values& v) { Store(v, out); }, args...);
  }

  template <std::size_t... I>
  static AnyFunction Entry(std::index_sequence<I...>) {
    if constexpr (kMember.result == Type::None)
      return reinterpret_cast<AnyFunction>(&WithoutResult<I...>);
    else
      return reinterpret_cast<AnyFunction>(&WithResult<I...>);
  }
  static AnyFunction Entry() { return Entry(std::make_index_sequence<kMember.parameterCount>()); }
};

template <std::size_t... Row>
std::array<AnyFunction, kMembers.size()> MemberEntries(std::index_sequence<Row...>) {
  return {Adapter<Row>::Entry()...};
}

Object& Of(DualView* self) { return *self->object; }

HRESULT STDMETHODCALLTYPE QueryInterface(DualView* self, REFIID riid, void** out) {
  return Of(self).QueryInterface(riid, out);
}
ULONG STDMETHODCALLTYPE AddRef(DualView* self) { return Of(self).AddRef(); }
ULONG STDMETHODCALLTYPE Release(DualView* self) { return Of(self).Release(); }

// One description, the dual interface's, where the platform keeps the
// library's type library; none elsewhere.
HRESULT STDMETHODCALLTYPE GetTypeInfoCount(DualView* self, UINT* count) {
  if (count == nullptr) return E_POINTER;
  if (!Of(self).OnOwnThread()) return RPC_E_WRONG_THREAD;
  ITypeInfo* info = platform::Runtime().TypeInfoOf(IID__JotBook);
  *count = info != nullptr;
  if (info != nullptr) info->Release();
  return S_OK;
}
HRESULT STDMETHODCALLTYPE GetTypeInfo(DualView* self, UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (!Of(self).OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (index == 0) *info = platform::Runtime().TypeInfoOf(IID__JotBook);
  return *info != nullptr ? S_OK : DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE GetIDsOfNamesEntry(DualView* self, REFIID riid, LPOLESTR* names, UINT count,
                                             LCID, DISPID* ids) {
  if (!Of(self).OnOwnThread()) return RPC_E_WRONG_THREAD;
  return GetIDsOfNames(riid, names, count, ids);
}

HRESULT STDMETHODCALLTYPE InvokeEntry(DualView* self, DISPID id, REFIID riid, LCID lcid, WORD flags,
                                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                      UINT* argumentError) {
  return Invoke(Of(self), id, riid, lcid, flags, params, result, info, argumentError);
}

}  // namespace

const DualTable& DualFunctionTable() {
  static const DualTable table{&QueryInterface,     &AddRef, &Release,     &GetTypeInfoCount,
                               &GetTypeInfo,        &GetIDsOfNamesEntry,   &InvokeEntry,
                               MemberEntries(std::make_index_sequence<kMembers.size()>())};
  return table;
}

}  // namespace jotwell::binding
