// The text of the log file: start, event and end lines. Each line's time
// is read when the line is built; the date is read once per call and
// passed in.
#pragma once

#include "jotwell/ValueTypes.h"
#include "platform/regional.h"

namespace jotwell {

inline constexpr const char* kLineEnd = "\r\n";

// "mm/dd/yyyy", joined by the regional date separator.
String LogDate(const platform::LocalDateTime& when);
// Today's LogDate.
String TodayText();

// The title, "Logfile started", the time and the date, with its line end.
String StartLine(const String& date2);
// The date, the time, " - " and the text, without a line end.
String EventLine(const String& date2, const String& text);
// A line end, the title, "Logfile ended", the time and the date, with its
// line end.
String EndLine(const String& date2);

}  // namespace jotwell
