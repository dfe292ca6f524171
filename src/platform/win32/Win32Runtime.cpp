// Type information from the type library the file carries as resource 1,
// loaded for each request: a library kept loaded would keep the file from
// being unloaded. Error information through the system's error objects.
#include <windows.h>

#include <oleauto.h>

#include "jotwell/RuntimeError.h"
#include "platform/component.h"
#include "platform/runtime.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

// Releases a reference on scope exit.
template <class Interface>
struct Held {
  Interface* held = nullptr;
  ~Held() {
    if (held != nullptr) held->Release();
  }
};

class Win32Runtime final : public ComponentRuntime {
 public:
  ITypeInfo* TypeInfoOf(const GUID& id) override {
    Held<ITypeLib> library;
    ITypeInfo* info = nullptr;
    try {
      std::wstring path = win32::WidePath(Component().LibraryPath());
      if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library.held))) return nullptr;
    } catch (const RuntimeError&) {
      return nullptr;
    }
    return SUCCEEDED(library.held->GetTypeInfoOfGuid(id, &info)) ? info : nullptr;
  }

  void LeaveErrorInfo(const GUID& id, const String& source, const String& description) override {
    Held<ICreateErrorInfo> made;
    Held<IErrorInfo> info;
    if (FAILED(CreateErrorInfo(&made.held))) return;
    std::wstring wideSource = win32::Wide(source), wideDescription = win32::Wide(description);
    made.held->SetGUID(id);
    made.held->SetSource(wideSource.data());
    made.held->SetDescription(wideDescription.data());
    if (SUCCEEDED(made.held->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info.held))))
      SetErrorInfo(0, info.held);
  }
};

}  // namespace

template <>
ComponentRuntime& Group<ComponentRuntime>::Native() {
  static Win32Runtime runtime;
  return runtime;
}

}  // namespace jotwell::platform
