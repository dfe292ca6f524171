// The one road by which a library error reaches a host: the run-time error
// number becomes the HRESULT the automation runtime forms from it, and its
// description and source travel in EXCEPINFO.
#pragma once

#include <new>

#include "jotwell/automation.h"

namespace jotwell::binding {

// 0x800A0000 plus the run-time error number.
HRESULT HresultOfRuntimeError(LONG number);
bool IsRuntimeError(HRESULT code);

// The HRESULT of the library error being handled (any exception: an
// allocation failure is run-time error 7); fills *info when given.
HRESULT FromLibraryError(EXCEPINFO* info);

// Runs a member of the library.
template <class Call>
HRESULT LibraryCall(Call&& call, EXCEPINFO* info) {
  try {
    call();
    return S_OK;
  } catch (...) {
    return FromLibraryError(info);
  }
}

// Runs the binding's own work, which fails only for want of memory.
template <class Call>
HRESULT Guarded(Call&& call) {
  try {
    call();
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace jotwell::binding
