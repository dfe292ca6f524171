// With no system registry, the record is an INI file among the user's data:
// a section for the class, its programmatic name, its type library and each
// interface.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "jotwell/RuntimeError.h"
#include "platform/component.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/posix/Errno.h"
#include "platform/posix/SystemPath.h"
#include "platform/registration.h"

namespace jotwell::platform {
namespace {

struct Entry {
  String section;
  const char* key;
  String value;
};

// Every value the file holds for the class, in the order written.
std::vector<Entry> EntriesOf(const ClassRecord& record) {
  String classSection = "CLSID " + record.classId;
  String library = "TypeLib " + record.typeLibraryId;
  String dual = "Interface " + record.dual.id, events = "Interface " + record.events.id;
  char locale[9];
  std::snprintf(locale, sizeof locale, "%X", static_cast<unsigned>(record.typeLibraryLocale));
  return {
      {classSection, "ProgID", record.progId},
      {classSection, "InprocServer", record.libraryPath},
      {classSection, "ThreadingModel", record.threadingModel},
      {classSection, "TypeLib", record.typeLibraryId},
      {classSection, "Version", record.typeLibraryVersion},
      {"ProgID " + record.progId, "CLSID", record.classId},
      {library, "Name", record.typeLibraryName},
      {library, "Version", record.typeLibraryVersion},
      {library, "Locale", locale},
      {dual, "Name", record.dual.name},
      {dual, "TypeLib", record.typeLibraryId},
      {events, "Name", record.events.name},
      {events, "TypeLib", record.typeLibraryId},
  };
}

// components.ini in the library's folder among the user's data, which
// `make` creates when missing.
String RecordPath(bool make) {
  auto kind = UserFolder::Data;
  return (make ? Component().MakeUserFolder(kind) : Component().UserFolderOf(kind)) +
         "/components.ini";
}

String Read(const String& section, const char* key) {
  return Ini().ReadProfileText(section, key, "", RecordPath(false));
}

// False only when the record is missing: one that cannot be reached is
// there all the same.
bool RecordExists(const String& path) {
  struct stat info {};
  if (::lstat(posix::SystemPath(path), &info) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  throw posix::ErrorFromErrno(errno);
}

class PosixRegistry final : public ClassRegistry {
 public:
  void WriteClassRecord(const ClassRecord& record) override {
    String path = RecordPath(true);
    for (const Entry& entry : EntriesOf(record))
      if (!Ini().WriteProfileText(entry.section, entry.key, entry.value, path))
        throw RuntimeError(errnum::kPathFileAccess);
  }

  // A file left empty goes, so that the user's data is as it was before. A
  // record that stays is a failure: the host must not believe it gone.
  void RemoveClassRecord(const ClassRecord& record) override {
    String path = RecordPath(false);
    if (!RecordExists(path)) return;
    String last;
    for (const Entry& entry : EntriesOf(record))
      if (entry.section != last && !Ini().EraseProfileSection(last = entry.section, path))
        throw RuntimeError(errnum::kPathFileAccess);
    if (Files().Length(path) == 0 && !Files().EraseFile(path))
      throw RuntimeError(errnum::kPathFileAccess);
  }

  String RegisteredClassId(const String& progId) override {
    return Read("ProgID " + progId, "CLSID");
  }

  String RegisteredLibrary(const String& classId) override {
    return Read("CLSID " + classId, "InprocServer");
  }
};

}  // namespace

template <>
ClassRegistry& Group<ClassRegistry>::Native() {
  static PosixRegistry registry;
  return registry;
}

}  // namespace jotwell::platform
