// The INI group: single keys of an initialization file, with the platform
// profile semantics (read never fails: a missing file, section or key gives
// the default).
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

class IniProfile {
 public:
  virtual ~IniProfile() = default;

  // The key's text, or `fallback`, cut to at most `capacity` - 1 characters.
  virtual String ReadProfileText(const String& section, const String& key,
                                 const String& fallback, Long capacity,
                                 const String& path) = 0;
  // The key's value parsed as a leading signed integer, or `fallback`.
  virtual Long ReadProfileNumber(const String& section, const String& key, Long fallback,
                                 const String& path) = 0;
  // Stores the value, creating file, section and key as needed; false on failure.
  virtual bool WriteProfileText(const String& section, const String& key, const String& value,
                                const String& path) = 0;
};

template <>
IniProfile& Group<IniProfile>::Native();

// Forwards every operation to `target`, the native implementation unless
// told otherwise: a test that replaces the group overrides only what it
// changes.
class ForwardingIniProfile : public IniProfile {
 public:
  explicit ForwardingIniProfile(IniProfile& target = Group<IniProfile>::Native())
      : target_(target) {}

  String ReadProfileText(const String& section, const String& key, const String& fallback,
                         Long capacity, const String& path) override {
    return target_.ReadProfileText(section, key, fallback, capacity, path);
  }
  Long ReadProfileNumber(const String& section, const String& key, Long fallback,
                         const String& path) override {
    return target_.ReadProfileNumber(section, key, fallback, path);
  }
  bool WriteProfileText(const String& section, const String& key, const String& value,
                        const String& path) override {
    return target_.WriteProfileText(section, key, value, path);
  }

 private:
  IniProfile& target_;
};

inline IniProfile& Ini() { return Group<IniProfile>::Get(); }

}  // namespace jotwell::platform
