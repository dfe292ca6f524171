// The runtime group: what the platform's component runtime keeps for a
// component beyond loading it: the type information its library file
// carries, and the error information a failed call leaves for its caller.
#pragma once

#include "jotwell/ValueTypes.h"
#include "jotwell/automation.h"
#include "platform/Group.h"

namespace jotwell::platform {

class ComponentRuntime {
 public:
  virtual ~ComponentRuntime() = default;

  // The description of the interface or class `id` from the library file's
  // type library, one reference the caller's; nullptr where the platform
  // keeps no type libraries or the library carries none.
  virtual ITypeInfo* TypeInfoOf(const GUID& id) = 0;
  // Leaves the source and description of a failed call of the interface
  // `id` where the runtime's error information is kept for the caller.
  // Nothing is reported: the failure itself is the caller's answer.
  virtual void LeaveErrorInfo(const GUID& id, const String& source, const String& description) = 0;
};

template <>
ComponentRuntime& Group<ComponentRuntime>::Native();

inline ComponentRuntime& Runtime() { return Group<ComponentRuntime>::Get(); }

}  // namespace jotwell::platform
