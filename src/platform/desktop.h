// The desktop group: which Desktop serves when no host or test chose one.
#pragma once

#include <memory>

#include "jotwell/Desktop.h"

namespace jotwell::platform {

// The desktop agent when a display can be reached, else the headless one.
std::shared_ptr<Desktop> DefaultDesktop();

}  // namespace jotwell::platform
