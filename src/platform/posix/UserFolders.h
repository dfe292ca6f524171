// The user's data and state folders, as the XDG base-directory rules give
// them: what the component's own folders and the desktop's recent list
// live under.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/component.h"

namespace jotwell::platform::posix {

// $XDG_DATA_HOME or $XDG_STATE_HOME when set to an absolute path, else their
// defaults under $HOME; read afresh on every call, since a host may change
// them. A set-ID process reads no variable: its folders are the defaults
// under the effective user's home in the user database. Throws
// RuntimeError, path not found (76), when neither is known.
String XdgFolder(UserFolder kind);

// Whether the home and data folders GLib took from the environment may be
// used: always, but in a set-ID process only when they are the ones
// XdgFolder gives, not the caller's.
bool GLibFoldersAreTrusted();

}  // namespace jotwell::platform::posix
