#include "platform/posix/UserFolders.h"

#include <glib.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "jotwell/RuntimeError.h"
#include "platform/posix/Environment.h"

namespace jotwell::platform::posix {
namespace {

// `folder` when it is an absolute path; unknown otherwise.
String AbsoluteFolder(const char* folder) {
  if (folder == nullptr || folder[0] != '/') throw RuntimeError(errnum::kPathNotFound);
  return folder;
}

// The effective user's home as the user database records it.
String EffectiveUsersHome() {
  std::vector<char> room(1024);
  passwd entry{}, *found = nullptr;
  int failed;
  while ((failed = ::getpwuid_r(::geteuid(), &entry, room.data(), room.size(), &found)) == ERANGE)
    room.resize(room.size() * 2);
  return AbsoluteFolder(failed == 0 && found != nullptr ? found->pw_dir : nullptr);
}

String HomeFolder() {
  return RunsSetId() ? EffectiveUsersHome() : AbsoluteFolder(EnvironmentValue("HOME"));
}

}  // namespace

String XdgFolder(UserFolder kind) {
  bool data = kind == UserFolder::Data;
  const char* set = EnvironmentValue(data ? "XDG_DATA_HOME" : "XDG_STATE_HOME");
  if (set != nullptr && set[0] == '/') return set;
  return HomeFolder() + (data ? "/.local/share" : "/.local/state");
}

bool GLibFoldersAreTrusted() {
  if (!RunsSetId()) return true;
  try {
    return HomeFolder() == g_get_home_dir() && XdgFolder(UserFolder::Data) == g_get_user_data_dir();
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace jotwell::platform::posix
