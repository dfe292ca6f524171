#include "Link.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cerrno>

namespace jotwell::desktop {
namespace {

std::function<void(const Message&)> handler;
std::string pending;

gboolean OnInput(gint fd, GIOCondition, gpointer) {
  char chunk[65536];
  ssize_t n;
  do n = ::read(fd, chunk, sizeof chunk);
  while (n < 0 && errno == EINTR);
  if (n <= 0) {
    // The host has gone or let go of us.
    gtk_main_quit();
    return G_SOURCE_REMOVE;
  }
  pending.append(chunk, static_cast<size_t>(n));
  size_t start = 0;
  for (size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
    if (auto message = Parse(std::string_view(pending).substr(start, end - start)))
      handler(*message);
  pending.erase(0, start);
  return G_SOURCE_CONTINUE;
}

}  // namespace

void ListenForRequests(std::function<void(const Message&)> handle) {
  handler = std::move(handle);
  g_unix_fd_add(STDIN_FILENO, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), OnInput,
                nullptr);
}

void Answer(long request, std::string_view verb, std::vector<std::string> arguments) {
  std::string line = Format({request, std::string(verb), std::move(arguments)});
  for (size_t sent = 0; sent < line.size();) {
    ssize_t n = ::write(STDOUT_FILENO, line.data() + sent, line.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the host has gone; reading will tell
    sent += static_cast<size_t>(n);
  }
}

std::string Displayable(const std::string& text) {
  std::string withoutNul;
  withoutNul.reserve(text.size());
  for (char byte : text) {
    if (byte == '\0') withoutNul += "\xEF\xBF\xBD";
    else withoutNul += byte;
  }
  gchar* valid = g_utf8_make_valid(withoutNul.data(), static_cast<gssize>(withoutNul.size()));
  std::string result(valid);
  g_free(valid);
  return result;
}

}  // namespace jotwell::desktop
