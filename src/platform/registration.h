// The registration group: the per-user record through which hosts find a
// component class by programmatic name or class identifier, kept where the
// platform keeps such records.
#pragma once

#include <cstdint>

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

// An interface the class exposes, by identifier and name.
struct InterfaceRecord {
  String id;
  String name;
};

// Everything registered for one class. Identifiers are GUID text in braces,
// as the caller gives them; the group stores them as given and never
// parses them.
struct ClassRecord {
  String classId;
  String progId;          // the programmatic name hosts create the class by
  String libraryPath;     // the library file that serves the class
  String threadingModel;  // as hosts name it, "Apartment"
  String typeLibraryId;
  String typeLibraryName;
  String typeLibraryVersion;            // "major.minor"; the class's version too
  std::uint32_t typeLibraryLocale = 0;  // a locale identifier, 0x409
  InterfaceRecord dual;                 // the dispatch interface callers call through
  InterfaceRecord events;               // the event interface the class fires
};

class ClassRegistry {
 public:
  virtual ~ClassRegistry() = default;

  // Records `record`, making the user's record (and its folders) when
  // missing; each value replaces the one an earlier write left, and
  // whatever else the record holds stays as it was. Throws
  // RuntimeError when the user's folders are unknown or cannot be made, or
  // when the store refuses a value (path/file access error, 75); what was
  // written before the failure stays.
  virtual void WriteClassRecord(const ClassRecord& record) = 0;
  // Removes what WriteClassRecord wrote for the record's identifiers and
  // programmatic name (the other fields are not read), and the user's
  // record itself when nothing else is left in it. Makes nothing: with no
  // record there is nothing to do. Throws RuntimeError when the user's
  // folders are unknown or the record cannot be changed.
  virtual void RemoveClassRecord(const ClassRecord& record) = 0;

  // The class identifier registered for the programmatic name, as written;
  // empty when none is. Makes nothing. Throws RuntimeError when the user's
  // folders are unknown.
  virtual String RegisteredClassId(const String& progId) = 0;
  // The library path registered for the class identifier, GUID text as
  // WriteClassRecord was given it; empty when none is. Makes nothing. Throws
  // RuntimeError when the user's folders are unknown.
  virtual String RegisteredLibrary(const String& classId) = 0;
};

template <>
ClassRegistry& Group<ClassRegistry>::Native();

inline ClassRegistry& Registry() { return Group<ClassRegistry>::Get(); }

}  // namespace jotwell::platform
