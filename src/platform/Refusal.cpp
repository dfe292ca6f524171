#include "platform/Refusal.h"

#include <optional>

namespace jotwell::platform {

namespace {
thread_local std::optional<RuntimeError> lastRefusal;
}  // namespace

void NoteRefusal(const RuntimeError& why) { lastRefusal = why; }

void ForgetRefusal() { lastRefusal.reset(); }

RuntimeError LastRefusal() { return lastRefusal.value_or(RuntimeError(errnum::kDeviceIO)); }

}  // namespace jotwell::platform
