#include <errno.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string>

#include "jotwell/RuntimeError.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/Errno.h"
#include "platform/posix/LockedEdit.h"
#include "platform/posix/SystemPath.h"
#include "platform/posix/UserFolders.h"
#include "platform/shell.h"

namespace jotwell::platform {
namespace {

using posix::SystemPath;

struct GFree {
  void operator()(void* p) const { g_free(p); }
};
using GText = std::unique_ptr<char, GFree>;

struct GUnref {
  void operator()(void* p) const { g_object_unref(p); }
};

struct BookmarksFree {
  void operator()(GBookmarkFile* p) const { g_bookmark_file_free(p); }
};

// The absolute, tidied form of `path`: what the trash records as the
// original place, and what the recent-documents list names.
std::string Absolute(const String& path) {
  return GText(g_canonicalize_filename(SystemPath(path), nullptr)).get();
}

// The file's MIME type, guessed from its name and, where it can be read
// without waiting, its first bytes.
std::string MimeTypeOf(const std::string& path) {
  char head[4096];
  gsize length = 0;
  posix::Descriptor file(posix::Open(path.c_str(), O_RDONLY | O_NONBLOCK));
  if (file.get() >= 0 && posix::IsRegularFile(file.get())) {
    ssize_t n = ::read(file.get(), head, sizeof head);
    length = n > 0 ? static_cast<gsize>(n) : 0;
  }
  GText type(g_content_type_guess(path.c_str(), reinterpret_cast<const guchar*>(head), length, nullptr));
  GText mime(g_content_type_get_mime_type(type.get()));
  return mime ? mime.get() : "application/octet-stream";
}

// Who added the document, as the desktop's own programs record themselves:
// the application's name, and a command line that opens a document with it.
std::pair<std::string, std::string> ThisApplication() {
  const char* program = g_get_prgname();
  if (!program) program = program_invocation_short_name;
  const char* name = g_get_application_name();
  // The list quotes the command line itself.
  return {name ? name : program, std::string(program) + " %u"};
}

// The list with the document added, or its entry brought up to date; the
// list as it was when it cannot be read, so that nothing in it is lost.
std::optional<String> WithDocument(std::string_view list, const std::string& path) {
  std::unique_ptr<GBookmarkFile, BookmarksFree> bookmarks(g_bookmark_file_new());
  if (!list.empty() &&
      !g_bookmark_file_load_from_data(bookmarks.get(), list.data(), list.size(), nullptr))
    return std::nullopt;
  GText uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
  if (!uri) return std::nullopt;
  auto [name, exec] = ThisApplication();
  g_bookmark_file_set_mime_type(bookmarks.get(), uri.get(), MimeTypeOf(path).c_str());
  g_bookmark_file_add_application(bookmarks.get(), uri.get(), name.c_str(), exec.c_str());
  std::unique_ptr<GDateTime, decltype(&g_date_time_unref)> now(g_date_time_new_now_utc(),
                                                               g_date_time_unref);
  g_bookmark_file_set_visited_date_time(bookmarks.get(), uri.get(), now.get());
  gsize length = 0;
  GText data(g_bookmark_file_to_data(bookmarks.get(), &length, nullptr));
  if (!data) return std::nullopt;
  return String(data.get(), length);
}

// GIO's reason for a refusal, as the errno it most often stands for.
int ErrnoOf(const GError* error) {
  if (error && error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_NOT_FOUND: return ENOENT;
      case G_IO_ERROR_PERMISSION_DENIED: return EACCES;
      case G_IO_ERROR_NO_SPACE: return ENOSPC;
      default: break;
    }
  }
  return EIO;
}

class PosixShell final : public Shell {
 public:
  // GLib finds the trash under its own idea of the user's folders.
  bool MoveToTrash(const String& path) override {
    if (!posix::GLibFoldersAreTrusted()) return posix::RefuseForErrno(EACCES);
    try {
      std::unique_ptr<GFile, GUnref> file(
          g_vfs_get_file_for_path(g_vfs_get_local(), Absolute(path).c_str()));
      GError* error = nullptr;
      if (g_file_trash(file.get(), nullptr, &error)) return true;
      int failure = ErrnoOf(error);
      g_error_free(error);
      return posix::RefuseForErrno(failure);
    } catch (const RuntimeError& refused) {
      return posix::Refuse(refused);
    }
  }

  // Two programs adding at once each add to the list the other left: the
  // list is changed under its lock. A new list is the user's alone.
  bool AddRecentDocument(const String& path) override {
    try {
      std::string document = Absolute(path);
      // Read afresh: GLib keeps its first answer for the life of the process.
      std::string folder = posix::XdgFolder(UserFolder::Data);
      // GLib guesses the document's type from the MIME database under its
      // own folders.
      if (!posix::GLibFoldersAreTrusted()) return posix::RefuseForErrno(EACCES);
      if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) return posix::RefuseForErrno(errno);
      return posix::EditUnderLock(
          folder + "/recently-used.xbel",
          [&](std::string_view list) { return WithDocument(list, document); }, 0600);
    } catch (const RuntimeError& refused) {
      return posix::Refuse(refused);
    }
  }
};

}  // namespace

template <>
Shell& Group<Shell>::Native() {
  static PosixShell shell;
  return shell;
}

}  // namespace jotwell::platform
