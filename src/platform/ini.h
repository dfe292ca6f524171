// The INI group: single keys of an initialization file, with the platform
// profile semantics (reads never fail: a missing file, section or key gives
// the fallback). Writes change the one line concerned and leave every other
// byte of a hand-edited file as it was.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

class IniProfile {
 public:
  virtual ~IniProfile() = default;

  // The key's whole text, or `fallback`.
  virtual String ReadProfileText(const String& section, const String& key,
                                 const String& fallback, const String& path) = 0;
  // The key's value parsed as a leading signed integer, or `fallback` for a
  // missing or empty value.
  virtual Long ReadProfileNumber(const String& section, const String& key, Long fallback,
                                 const String& path) = 0;
  // Stores the value, creating file, section and key as needed. False when
  // refused (a name or value that would not read back, a file that may not
  // be written), and then no byte has changed; the reason is noted
  // (platform/Refusal.h).
  virtual bool WriteProfileText(const String& section, const String& key, const String& value,
                                const String& path) = 0;
  // Removes the key's line; true when the key is gone.
  virtual bool EraseProfileKey(const String& section, const String& key,
                               const String& path) = 0;
  // Removes the section's header and every line up to the next header; true
  // when the section is gone.
  virtual bool EraseProfileSection(const String& section, const String& path) = 0;
};

template <>
IniProfile& Group<IniProfile>::Native();

inline IniProfile& Ini() { return Group<IniProfile>::Get(); }

}  // namespace jotwell::platform
