#include "platform/headless/HeadlessDesktop.h"
#include "platform/windows.h"

namespace jotwell::platform {

std::shared_ptr<Desktop> DefaultDesktop() {
  return std::make_shared<HeadlessDesktop>();
}

}  // namespace jotwell::platform
