#include <windows.h>

#include <algorithm>
#include <string>

#include "jotwell/RuntimeError.h"
#include "platform/PerThread.h"
#include "platform/regional.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

// The years the system formats; the calendar, weekdays included, repeats
// every kCycle years, so a date outside them is formatted as one in them.
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;
constexpr int kCycle = 400;

// A formatting function's text: asked for its length, then for the text.
template <class Format>
String Formatted(Format format) {
  int length = format(nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (length > 0) length = format(text.data(), length);
  // Fails only for a date or time out of range.
  if (length == 0) throw RuntimeError(errnum::kInvalidProcedureCall);
  text.resize(static_cast<std::size_t>(length - 1));
  return win32::Utf8(text);
}

int YearInRange(int year) {
  if (year < kFirstYear) return year + (kFirstYear - year + kCycle - 1) / kCycle * kCycle;
  if (year > kLastYear) return year - (year - kLastYear + kCycle - 1) / kCycle * kCycle;
  return year;
}

// `when` as the system takes it, its year moved by whole cycles into the
// years the system formats.
SYSTEMTIME SystemTimeOf(const LocalDateTime& when) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(YearInRange(when.year));
  time.wMonth = static_cast<WORD>(when.month);
  time.wDay = static_cast<WORD>(when.day);
  time.wHour = static_cast<WORD>(when.hour);
  time.wMinute = static_cast<WORD>(when.minute);
  time.wSecond = static_cast<WORD>(when.second);
  return time;
}

String DateText(const SYSTEMTIME& time, DWORD flags, const wchar_t* format) {
  return Formatted([&](wchar_t* text, int room) {
    return GetDateFormatW(LOCALE_USER_DEFAULT, flags, &time, format, text, room);
  });
}

// A setting of the user's locale.
String LocaleText(LCTYPE item) {
  return Formatted([&](wchar_t* text, int room) {
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, room);
  });
}

// The user's separators, read once per thread.
struct Separators {
  String date = LocaleText(LOCALE_SDATE);
  String decimal = LocaleText(LOCALE_SDECIMAL);
};

const Separators& UserSeparators() { return PerThread<Separators>(); }

class Win32Locale final : public Locale {
 public:
  LocalDateTime Now() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }

  String LongTime(const LocalDateTime& when) override {
    SYSTEMTIME time = SystemTimeOf(when);
    return Formatted([&](wchar_t* text, int room) {
      return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, room);
    });
  }

  // A year moved into range gives way, where the date shows it in full, to
  // the year it stands for; its last two digits are the same.
  String ShortDate(const LocalDateTime& when) override {
    SYSTEMTIME time = SystemTimeOf(when);
    String text = DateText(time, DATE_SHORTDATE, nullptr);
    if (time.wYear == when.year) return text;
    String moved = DateText(time, 0, L"yyyy");
    std::size_t at = text.find(moved);
    if (moved.empty() || at == String::npos ||
        !std::all_of(moved.begin(), moved.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return text;
    String wanted = std::to_string(std::stoi(moved) - (time.wYear - when.year));
    if (wanted.size() < moved.size()) wanted.insert(0, moved.size() - wanted.size(), '0');
    return text.replace(at, moved.size(), wanted);
  }

  String DateSeparator() override { return UserSeparators().date; }
  String DecimalSeparator() override { return UserSeparators().decimal; }
};

}  // namespace

template <>
Locale& Group<Locale>::Native() {
  static Win32Locale locale;
  return locale;
}

}  // namespace jotwell::platform
