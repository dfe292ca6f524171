// No component runtime keeps type libraries or error information here: the
// binding's own Invoke and EXCEPINFO serve hosts.
#include "platform/runtime.h"

namespace jotwell::platform {
namespace {

class PosixRuntime final : public ComponentRuntime {
 public:
  ITypeInfo* TypeInfoOf(const GUID&) override { return nullptr; }
  void LeaveErrorInfo(const GUID&, const String&, const String&) override {}
};

}  // namespace

template <>
ComponentRuntime& Group<ComponentRuntime>::Native() {
  static PosixRuntime runtime;
  return runtime;
}

}  // namespace jotwell::platform
