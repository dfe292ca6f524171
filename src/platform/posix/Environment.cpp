#include "platform/posix/Environment.h"

#include <stdlib.h>
#include <sys/auxv.h>

namespace jotwell::platform::posix {

bool RunsSetId() { return ::getauxval(AT_SECURE) != 0; }

const char* EnvironmentValue(const char* name) { return ::secure_getenv(name); }

}  // namespace jotwell::platform::posix
