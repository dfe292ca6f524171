#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstring>

#include "platform/locale.h"

namespace jotwell::platform {
namespace {

// Rewrites each conversion of a strftime format through `rewrite`, which
// gets the conversion's letter and returns what stands for it. Plain text,
// "%%" and conversions with an E or O modifier stay as they are.
template <class Rewrite>
String EachConversion(const String& format, Rewrite rewrite) {
  String result;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      result += format[i];
    } else if (format[i + 1] == '%') {
      result += "%%";
      ++i;
    } else if ((format[i + 1] == 'E' || format[i + 1] == 'O') && i + 2 < format.size()) {
      result += format.substr(i, 3);
      i += 2;
    } else {
      result += rewrite(format[++i]);
    }
  }
  return result;
}

String Unchanged(char letter) { return String{'%', letter}; }

// `format` with its shorthands spelled out, `ampm` standing for "%r".
String Expanded(const String& format, const String& ampm) {
  return EachConversion(format, [&](char letter) -> String {
    switch (letter) {
      case 'T': return "%H:%M:%S";
      case 'R': return "%H:%M";
      case 'D': return "%m/%d/%y";
      case 'F': return "%Y-%m-%d";
      case 'r': return ampm;
      default: return Unchanged(letter);
    }
  });
}

char FirstConversion(const String& format) {
  char first = 0;
  EachConversion(format, [&](char letter) {
    if (first == 0) first = letter;
    return String();
  });
  return first;
}

// The regional formats as the desktop's regional settings show them: a
// 12-hour hour has no leading zero, a year has four digits, and where the
// month comes first (as in the US form) month and day have no leading
// zeros either. Other fields keep the locale's own form.
String LongTimeForm(const String& expanded) {
  return EachConversion(expanded, [](char letter) {
    return letter == 'I' || letter == 'l' ? String("%-I") : Unchanged(letter);
  });
}

String ShortDateForm(const String& expanded) {
  bool monthFirst = FirstConversion(expanded) == 'm';
  return EachConversion(expanded, [&](char letter) {
    switch (letter) {
      case 'y': return String("%Y");
      case 'm': return String(monthFirst ? "%-m" : "%m");
      case 'd':
      case 'e': return String(monthFirst ? "%-d" : "%d");
      default: return Unchanged(letter);
    }
  });
}

// The characters between the first two conversions of a date format.
String SeparatorIn(const String& format) {
  size_t first = format.find('%');
  if (first == String::npos || first + 2 > format.size()) return "/";
  size_t second = format.find('%', first + 2);
  if (second == String::npos || second == first + 2) return "/";
  return format.substr(first + 2, second - first - 2);
}

// The user's regional settings, read from the environment once per thread.
class UserSettings {
 public:
  UserSettings() {
    locale_ = ::newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "", nullptr);
    if (locale_ == nullptr) locale_ = ::newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "C", nullptr);
    // The plain locale is no regional choice at all: it gets the US English
    // forms, as a desktop left at its defaults shows them.
    bool plain = IsPlain(Item(_NL_LOCALE_NAME(LC_TIME), "C"));
    String ampm = plain ? "%I:%M:%S %p" : Item(T_FMT_AMPM, "%I:%M:%S %p");
    String time = Expanded(plain ? "%r" : Item(T_FMT, "%H:%M:%S"), ampm);
    String date = Expanded(plain ? "%m/%d/%Y" : Item(D_FMT, "%m/%d/%Y"), ampm);
    longTime_ = LongTimeForm(time);
    shortDate_ = ShortDateForm(date);
    dateSeparator_ = SeparatorIn(date);
    decimalSeparator_ = Item(RADIXCHAR, ".");
  }
  ~UserSettings() {
    if (locale_ != nullptr) ::freelocale(locale_);
  }
  UserSettings(const UserSettings&) = delete;
  UserSettings& operator=(const UserSettings&) = delete;

  String Format(const String& format, const LocalDateTime& when) const {
    struct tm parts {};
    parts.tm_year = when.year - 1900;
    parts.tm_mon = when.month - 1;
    parts.tm_mday = when.day;
    parts.tm_hour = when.hour;
    parts.tm_min = when.minute;
    parts.tm_sec = when.second;
    char text[128];
    size_t length = ::strftime_l(text, sizeof text, format.c_str(), &parts, locale_);
    return String(text, length);
  }

  const String& longTime() const { return longTime_; }
  const String& shortDate() const { return shortDate_; }
  const String& dateSeparator() const { return dateSeparator_; }
  const String& decimalSeparator() const { return decimalSeparator_; }

 private:
  String Item(nl_item item, const char* fallback) const {
    const char* value = locale_ ? ::nl_langinfo_l(item, locale_) : nullptr;
    return value && *value ? value : fallback;
  }

  // "C", "POSIX" (which reports itself as "C") and "C.UTF-8".
  static bool IsPlain(const String& name) { return name == "C" || name.starts_with("C."); }

  locale_t locale_ = nullptr;
  String longTime_, shortDate_, dateSeparator_, decimalSeparator_;
};

const UserSettings& Settings() {
  thread_local UserSettings settings;
  return settings;
}

class PosixLocale final : public Locale {
 public:
  LocalDateTime Now() override {
    time_t now = ::time(nullptr);
    struct tm parts {};
    ::localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
  }
  String LongTime(const LocalDateTime& when) override {
    return Settings().Format(Settings().longTime(), when);
  }
  String ShortDate(const LocalDateTime& when) override {
    return Settings().Format(Settings().shortDate(), when);
  }
  String DateSeparator() override { return Settings().dateSeparator(); }
  String DecimalSeparator() override { return Settings().decimalSeparator(); }
};

}  // namespace

template <>
Locale& Group<Locale>::Native() {
  static PosixLocale locale;
  return locale;
}

}  // namespace jotwell::platform
