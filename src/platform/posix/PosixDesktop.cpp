#include "platform/windows.h"

namespace jotwell::platform {

std::shared_ptr<Desktop> DefaultDesktop() { return HeadlessDesktop(); }

}  // namespace jotwell::platform
