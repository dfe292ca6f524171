#include "logfile/LogLines.h"

#include "base/LibraryFacts.h"

namespace jotwell {

namespace {

String Padded(int value, std::size_t digits) {
  String text = std::to_string(value);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

String TimeNow() {
  platform::Locale& locale = platform::UserLocale();
  return locale.LongTime(locale.Now());
}

}  // namespace

String LogDate(const platform::LocalDateTime& when) {
  String separator = platform::UserLocale().DateSeparator();
  return Padded(when.month, 2) + separator + Padded(when.day, 2) + separator +
         Padded(when.year, 4);
}

String TodayText() { return LogDate(platform::UserLocale().Now()); }

String StartLine(const String& date2) {
  return String(kApplicationTitle) + " Logfile started " + TimeNow() + " " + date2 + kLineEnd;
}

String EventLine(const String& date2, const String& text) {
  return date2 + " " + TimeNow() + " - " + text;
}

String EndLine(const String& date2) {
  return kLineEnd + String(kApplicationTitle) + " Logfile ended " + TimeNow() + " " + date2 +
         kLineEnd;
}

}  // namespace jotwell
