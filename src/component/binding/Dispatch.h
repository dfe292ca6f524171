// Late binding over the member table: names to dispatch identifiers, and
// Invoke with its coercions, write-back and standard answers to bad calls.
#pragma once

#include "component/binding/MemberTable.h"

namespace jotwell::binding {

// The member a dispatch identifier and invocation flags name, or null.
const Member* Resolve(DISPID id, WORD flags);

HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);

// Runs `call(member, values)` between reading the arguments and writing
// back the results; its HRESULT comes from Guarded (Failure.h).
template <class Call>
HRESULT Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* info, UINT* argumentError, Call&& call);

namespace detail {
using CallMember = HRESULT (*)(void* context, const Member& member, Values& values, EXCEPINFO* info);
HRESULT Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* info, UINT* argumentError, CallMember call, void* context);
}  // namespace detail

template <class Call>
HRESULT Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* info, UINT* argumentError, Call&& call) {
  return detail::Invoke(
      id, riid, flags, params, result, info, argumentError,
      [](void* context, const Member& member, Values& values, EXCEPINFO* i) {
        return (*static_cast<Call*>(context))(member, values, i);
      },
      &call);
}

}  // namespace jotwell::binding
