#include "platform/Refusal.h"

#include <optional>

#include "platform/PerThread.h"

namespace jotwell::platform {

namespace {
std::optional<RuntimeError>& LastRefusalNoted() { return PerThread<std::optional<RuntimeError>>(); }
}  // namespace

void NoteRefusal(const RuntimeError& why) { LastRefusalNoted() = why; }

void ForgetRefusal() { LastRefusalNoted().reset(); }

RuntimeError LastRefusal() { return LastRefusalNoted().value_or(RuntimeError(errnum::kDeviceIO)); }

}  // namespace jotwell::platform
