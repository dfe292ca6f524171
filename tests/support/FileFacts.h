// What tests read back from files and folders: a folder's entries, a file's
// owner and times, and the user whose rights a file meets.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace jotwell::test {

// The names a folder holds, sorted; none when it is missing.
inline std::vector<std::string> EntryNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The file's status, all zero when there is no such file, and the parts of
// it that a rewrite must keep.
inline struct stat StatOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info;
}
inline std::tuple<uid_t, gid_t, mode_t> OwnerAndMode(const std::string& path) {
  const struct stat info = StatOf(path);
  return {info.st_uid, info.st_gid, info.st_mode & 07777};
}

// Makes the file the user nobody's, so that a child turned nobody meets it
// as its own; only root can, and only root needs to.
inline bool GiveToNobody(const std::string& path) {
  return ::geteuid() != 0 || ::chown(path.c_str(), 65534, 65534) == 0;
}

}  // namespace jotwell::test
