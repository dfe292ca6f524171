#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cctype>
#include <vector>

#include "platform/regional.h"

namespace jotwell::platform {
namespace {

// One conversion of a strftime format: "%", flags, a width, an E or O
// modifier, then the letter; [begin, end) in the format.
struct Conversion {
  size_t begin, end;
  char letter;
  bool modified;
};

std::vector<Conversion> ConversionsOf(const String& format) {
  std::vector<Conversion> found;
  for (size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '%') continue;
    size_t j = i + 1;
    if (format[j] == '%') {
      i = j;
      continue;
    }
    while (j < format.size() && String("-_0^#").find(format[j]) != String::npos) ++j;
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    bool modified = j < format.size() && (format[j] == 'E' || format[j] == 'O');
    if (modified) ++j;
    if (j >= format.size()) break;
    found.push_back({i, j + 1, format[j], modified});
    i = j;
  }
  return found;
}

// Rewrites each conversion through `rewrite`, which gets its letter and its
// text and returns what stands for it. Plain text and conversions with an E
// or O modifier stay as they are.
template <class Rewrite>
String EachConversion(const String& format, Rewrite rewrite) {
  String result;
  size_t at = 0;
  for (const Conversion& conversion : ConversionsOf(format)) {
    String text = format.substr(conversion.begin, conversion.end - conversion.begin);
    result += format.substr(at, conversion.begin - at) + (conversion.modified ? text : rewrite(conversion.letter, text));
    at = conversion.end;
  }
  return result + format.substr(at);
}

// `format` with its shorthands spelled out, `ampm` standing for "%r".
String Expanded(const String& format, const String& ampm) {
  return EachConversion(format, [&](char letter, const String& text) -> String {
    switch (letter) {
      case 'T': return "%H:%M:%S";
      case 'R': return "%H:%M";
      case 'D': return "%m/%d/%y";
      case 'F': return "%Y-%m-%d";
      case 'r': return ampm;
      default: return text;
    }
  });
}

// The regional formats as the desktop's regional settings show them: a
// 12-hour hour has no leading zero, a year has four digits, and where the
// month comes first (as in the US form) month and day have no leading
// zeros either. Other fields keep the locale's own form.
String LongTimeForm(const String& expanded) {
  return EachConversion(expanded, [](char letter, const String& text) {
    return letter == 'I' || letter == 'l' ? String("%-I") : text;
  });
}

String ShortDateForm(const String& expanded) {
  std::vector<Conversion> conversions = ConversionsOf(expanded);
  bool monthFirst = !conversions.empty() && conversions.front().letter == 'm';
  return EachConversion(expanded, [&](char letter, const String& text) {
    switch (letter) {
      case 'y': return String("%Y");
      case 'm': return String(monthFirst ? "%-m" : "%m");
      case 'd':
      case 'e': return String(monthFirst ? "%-d" : "%d");
      default: return text;
    }
  });
}

// The characters between the first two conversions of a date format.
String SeparatorIn(const String& format) {
  std::vector<Conversion> conversions = ConversionsOf(format);
  if (conversions.size() < 2 || conversions[1].begin == conversions[0].end) return "/";
  return format.substr(conversions[0].end, conversions[1].begin - conversions[0].end);
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
    // Fills in the weekday and the day of the year that names and numbers
    // of days need.
    ::timegm(&parts);
    // Month and day names can be long: a text that does not fit comes back
    // empty, so the room grows until it fits.
    String text;
    for (size_t room = 128; room <= 8192; room *= 2) {
      text.resize(room);
      size_t length = ::strftime_l(text.data(), room, format.c_str(), &parts, locale_);
      if (length > 0) return text.substr(0, length);
    }
    return String();
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
