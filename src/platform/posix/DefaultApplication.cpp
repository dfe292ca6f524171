#include "platform/posix/DefaultApplication.h"

#include <gio/gio.h>
#include <strings.h>

#include <memory>

#include "platform/posix/Environment.h"

namespace jotwell::platform::posix {
namespace {

struct GUnref {
  void operator()(void* p) const { g_object_unref(p); }
};
struct GFree {
  void operator()(void* p) const { g_free(p); }
};

bool OpensWith(const String& verb) { return verb.empty() || ::strcasecmp(verb.c_str(), "open") == 0; }

}  // namespace

// An address is opened as it is; a file name as its file: address.
void OpenWithDefaultApplication(const String& verb, const String& file, const String& directory) {
  // A name holding NUL names some other file: nothing is opened. Nor in a
  // set-ID process, where the caller's settings would choose the program
  // that runs with its rights.
  if (!OpensWith(verb) || file.empty() || file.find('\0') != String::npos ||
      directory.find('\0') != String::npos || RunsSetId())
    return;
  std::unique_ptr<char, GFree> scheme(g_uri_parse_scheme(file.c_str()));
  std::unique_ptr<char, GFree> uri;
  if (scheme) {
    uri.reset(g_strdup(file.c_str()));
  } else {
    std::unique_ptr<char, GFree> here(g_get_current_dir());
    std::unique_ptr<GFile, GUnref> document(g_file_new_for_commandline_arg_and_cwd(
        file.c_str(), directory.empty() ? here.get() : directory.c_str()));
    uri.reset(g_file_get_uri(document.get()));
  }
  g_app_info_launch_default_for_uri(uri.get(), nullptr, nullptr);
}

}  // namespace jotwell::platform::posix
