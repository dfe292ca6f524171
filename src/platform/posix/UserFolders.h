// The user's data and state folders, as the XDG base-directory rules give
// them: what the component's own folders and the desktop's recent list
// live under.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/component.h"

namespace jotwell::platform::posix {

// $XDG_DATA_HOME or $XDG_STATE_HOME when set to an absolute path, else their
// defaults under $HOME; read afresh on every call, since a host may change
// them. Throws RuntimeError, path not found (76), when neither is known.
String XdgFolder(UserFolder kind);

}  // namespace jotwell::platform::posix
