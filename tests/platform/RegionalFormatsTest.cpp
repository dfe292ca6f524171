// Times and dates in log lines and reports under the user's locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/Variant.h"
#include "logfile/LogLines.h"
#include "support/TestSupport.h"

// glibc keeps the list it parsed from LOCPATH until the process ends; the
// sanitizer build's leak checker should not count it against the test.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace jotwell {
namespace {

// The moment the locale group reports as now.
struct FixedClock : platform::ForwardingLocale {
  explicit FixedClock(platform::LocalDateTime now) : now(now) {
    platform::Group<platform::Locale>::Install(this);
  }
  ~FixedClock() override { platform::Group<platform::Locale>::Install(nullptr); }
  platform::LocalDateTime Now() override { return now; }
  const platform::LocalDateTime now;
};

// Compiles a named locale into `folder`, so that the test needs none
// installed; false when that cannot be done.
bool Compile(const std::string& locale, const test::TempDir& folder) {
  const std::string command = "localedef -i " + locale.substr(0, locale.find('.')) + " -f UTF-8 '" +
                              folder.File(locale) + "' >/dev/null 2>&1";
  return std::system(command.c_str()) != -1 && std::filesystem::exists(folder.File(locale));
}

struct Regional {
  const char* locale;
  const char* eventLine;   // at 3:07:45 PM on December 5th, 1999
  const char* reportDate;  // of 7:05:12 AM on December 5th, 2026
  friend void PrintTo(const Regional& regional, std::ostream* out) { *out << regional.locale; }
};

using RegionalFormatsTest = ::testing::TestWithParam<Regional>;

TEST_P(RegionalFormatsTest, ShapeLogLinesAndReportDates) {
  const std::string locale = GetParam().locale;
  test::TempDir locales;
  if (locale.find('.') != std::string::npos && !Compile(locale, locales))
    GTEST_SKIP() << "cannot compile the locale " << locale;
  test::ScopedEnv path("LOCPATH", locales.path().string());
  test::ScopedEnv all("LC_ALL", locale);
  FixedClock clock({1999, 12, 5, 15, 7, 45});
  std::string line, date;
  test::OnFreshThread([&] {
    line = EventLine(TodayText(), "Data saved");
    date = GeneralDateText({2026, 12, 5, 7, 5, 12});
  });
  EXPECT_EQ(line, GetParam().eventLine);
  EXPECT_EQ(date, GetParam().reportDate);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, RegionalFormatsTest,
    ::testing::Values(Regional{"C", "12/05/1999 3:07:45 PM - Data saved", "12/5/2026 7:05:12 AM"},
                      Regional{"POSIX", "12/05/1999 3:07:45 PM - Data saved", "12/5/2026 7:05:12 AM"},
                      Regional{"en_US.UTF-8", "12/05/1999 3:07:45 PM - Data saved", "12/5/2026 7:05:12 AM"},
                      // Day first: the locale's own forms, leading zeros and all.
                      Regional{"de_DE.UTF-8", "12.05.1999 15:07:45 - Data saved", "05.12.2026 07:05:12"}),
    [](const auto& info) { return std::string(info.param.locale).substr(0, 5); });

}  // namespace
}  // namespace jotwell
