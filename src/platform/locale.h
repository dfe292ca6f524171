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

inline Locale& UserLocale() { return Group<Locale>::Get(); }

}  // namespace jotwell::platform
