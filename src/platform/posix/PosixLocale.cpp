#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstring>

#include "platform/locale.h"

namespace jotwell::platform {
namespace {

// The user's regional settings, read from the environment once per thread.
class UserSettings {
 public:
  UserSettings() {
    locale_ = ::newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "", nullptr);
    if (locale_ == nullptr) locale_ = ::newlocale(LC_TIME_MASK | LC_NUMERIC_MASK, "C", nullptr);
    longTime_ = Item(T_FMT, "%H:%M:%S");
    shortDate_ = Item(D_FMT, "%m/%d/%y");
    decimalSeparator_ = Item(RADIXCHAR, ".");
    dateSeparator_ = SeparatorIn(shortDate_);
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

  // The characters between the first two conversions of a date format.
  static String SeparatorIn(const String& format) {
    size_t first = format.find('%');
    if (first == String::npos || first + 2 > format.size()) return "/";
    size_t second = format.find('%', first + 2);
    if (second == String::npos || second == first + 2) return "/";
    return format.substr(first + 2, second - first - 2);
  }

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
