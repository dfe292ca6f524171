#include "binding/Failure.h"

#include "base/LibraryFacts.h"
#include "binding/Utf16.h"
#include "errors/CurrentError.h"
#include "jotwell/JotBookComponent.h"
#include "platform/runtime.h"

namespace jotwell::binding {

namespace {
constexpr DWORD kControlFacility = 0x800A0000;
}

HRESULT HresultOfRuntimeError(LONG number) {
  return static_cast<HRESULT>(kControlFacility | (static_cast<DWORD>(number) & 0xFFFF));
}

bool IsRuntimeError(HRESULT code) { return (static_cast<DWORD>(code) & 0xFFFF0000) == kControlFacility; }

namespace {

// The caller of the function table asks the runtime's error information;
// a caller of Invoke reads *info.
HRESULT Report(const RuntimeError& error, EXCEPINFO* info) {
  HRESULT code = HresultOfRuntimeError(error.Number());
  Guarded(
      [&] { platform::Runtime().LeaveErrorInfo(IID__JotBook, kLibraryName, error.Description()); });
  if (info == nullptr) return code;
  *info = EXCEPINFO{};
  info->scode = code;
  // Without memory for the texts the code alone goes back.
  Guarded([&] {
    info->bstrSource = ToBstr(kLibraryName);
    info->bstrDescription = ToBstr(error.Description());
  });
  return code;
}

}  // namespace

HRESULT FromLibraryError(EXCEPINFO* info) {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return Report(error, info);
  } catch (const std::exception& other) {
    return Report(AsRuntimeError(other), info);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace jotwell::binding
