#include "platform/agent/AgentDesktop.h"
#include "platform/desktop.h"

namespace jotwell::platform {

// The agent finds out on first need whether a display can be reached, and
// serves headless when not.
std::shared_ptr<Desktop> DefaultDesktop() { return std::make_shared<agent::AgentDesktop>(); }

}  // namespace jotwell::platform
