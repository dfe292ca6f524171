#include "platform/posix/FolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Wildcard.h"
#include "platform/posix/Descriptors.h"
#include "platform/posix/SystemPath.h"
#include "values/PathDialect.h"

namespace jotwell::platform::posix {
namespace {

// Bytes that are no UTF-8 stay distinct characters, above every code point.
constexpr char32_t kStrayByte = 0x110000;

// The name's characters in upper case, compared the way Windows compares
// file names: character by character, without regard to case.
std::u32string UpperCharacters(std::string_view name) {
  std::u32string characters;
  characters.reserve(name.size());
  const char* at = name.data();
  const char* end = at + name.size();
  while (at < end) {
    gunichar c = g_utf8_get_char_validated(at, end - at);
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2) || c == 0) {
      characters.push_back(kStrayByte + static_cast<unsigned char>(*at++));
      continue;
    }
    characters.push_back(g_unichar_toupper(c));
    at = g_utf8_next_char(at);
  }
  return characters;
}

bool IsDotEntry(const char* name) { return !std::strcmp(name, ".") || !std::strcmp(name, ".."); }

}  // namespace

std::vector<String> FindMatching(const String& pattern) {
  std::size_t slash = pattern.rfind('/');
  String folder = PosixPaths().FolderOf(pattern);
  std::u32string wanted = UpperCharacters(std::string_view(pattern).substr(slash + 1));
  std::vector<String> names;
  int fd = Open(SystemPath(folder), O_RDONLY | O_DIRECTORY | O_NONBLOCK);
  DIR* entries = fd < 0 ? nullptr : ::fdopendir(fd);
  if (!entries) {
    if (fd >= 0) ::close(fd);
    return names;
  }
  while (const dirent* entry = ::readdir(entries)) {
    if (!IsDotEntry(entry->d_name) && MatchesWildcard(UpperCharacters(entry->d_name), wanted))
      names.emplace_back(entry->d_name);
  }
  ::closedir(entries);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace jotwell::platform::posix
