// Opening a document or address with the desktop's default application.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell::platform::posix {

// Performs `verb` on `file`: "Open", or no verb, opens it with its default
// application, through GIO and never through a shell; other verbs are not
// served. A relative file name is taken from `directory` when one is given.
// Failures are not reported.
void OpenWithDefaultApplication(const String& verb, const String& file, const String& directory);

}  // namespace jotwell::platform::posix
