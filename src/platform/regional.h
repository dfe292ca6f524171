// The locale group: the current local time and the user's regional formats.
// Formats come from the user's settings, never from the process's global
// locale, and are read once per thread.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

struct LocalDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Locale {
 public:
  virtual ~Locale() = default;

  virtual LocalDateTime Now() = 0;
  // The regional long time format, e.g. "3:07:45 PM".
  virtual String LongTime(const LocalDateTime& when) = 0;
  // The regional short date format.
  virtual String ShortDate(const LocalDateTime& when) = 0;
  // The separator between day, month and year in the regional date format.
  virtual String DateSeparator() = 0;
  // The regional decimal separator.
  virtual String DecimalSeparator() = 0;
};

template <>
Locale& Group<Locale>::Native();

// Forwards every operation to `target`, the native implementation unless
// told otherwise: a test that replaces the group overrides only what it
// changes.
class ForwardingLocale : public Locale {
 public:
  explicit ForwardingLocale(Locale& target = Group<Locale>::Native()) : target_(target) {}

  LocalDateTime Now() override { return target_.Now(); }
  String LongTime(const LocalDateTime& when) override { return target_.LongTime(when); }
  String ShortDate(const LocalDateTime& when) override { return target_.ShortDate(when); }
  String DateSeparator() override { return target_.DateSeparator(); }
  String DecimalSeparator() override { return target_.DecimalSeparator(); }

 private:
  Locale& target_;
};

inline Locale& UserLocale() { return Group<Locale>::Get(); }

}  // namespace jotwell::platform
