// Text under the user's locale: log lines, report dates and values.

#include <cstdlib>

#include "base/Variant.h"
#include "logfile/LogLines.h"
#include "support/TestSupport.h"

// glibc keeps the list it parsed from LOCPATH until the process ends; the
// sanitizer build's leak checker should not count it against the test.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace jotwell {
namespace {

using Texts = std::vector<std::pair<Variant, String>>;
const Texts kPlainTexts = {
    {Integer(-32768), "-32768"}, {0.1, "0.1"}, {1.5E-05, "1.5E-05"}, {1E+20, "1E+20"}, {1234567.5, "1234567.5"},
    {100.0, "100"}, {0.1f, "0.1"}, {Currency::FromScaled(12345), "1.2345"}, {Currency::FromScaled(INT64_MIN), "-922337203685477.5808"},
    {Boolean::FromRaw(1), "True"}, {False, "False"}, {Variant(), ""}, {ErrorCode{5}, "<none>"}, {Variant::Missing(), "<none>"},
    {Date{45658.0}, "1/1/2025"}, {Date{45658.5}, "1/1/2025 12:00:00 PM"}};  // no time at midnight

struct Regional {
  // The event line at 3:07:45 PM on December 5th, 1999; the report date of
  // 7:05:12 AM on December 5th, 2026.
  const char *locale, *eventLine, *reportDate;
  Texts values;
  friend void PrintTo(const Regional& regional, std::ostream* out) { *out << regional.locale; }
};

using RegionalTextTest = ::testing::TestWithParam<Regional>;

// A named locale is compiled into a temporary folder, so that the test needs
// none installed. A fresh thread reads the regional settings anew.
TEST_P(RegionalTextTest, ShapesLogLinesReportDatesAndValues) {
  const std::string locale = GetParam().locale;
  test::TempDir locales;
  const std::string compile = "localedef -i " + locale.substr(0, locale.find('.')) + " -f UTF-8 '" +
                              locales.File(locale) + "' >/dev/null 2>&1";
  if (locale.find('.') != std::string::npos &&
      (std::system(compile.c_str()) == -1 || !std::filesystem::exists(locales.File(locale))))
    GTEST_SKIP() << "cannot compile the locale " << locale;
  test::ScopedEnv path("LOCPATH", locales.path().string());
  test::ScopedEnv all("LC_ALL", locale);
  // The locale group's clock stops at 3:07:45 PM on December 5th, 1999.
  struct : platform::ForwardingLocale { platform::LocalDateTime Now() override { return {1999, 12, 5, 15, 7, 45}; } } clock;
  std::vector<String> texts, expected{GetParam().eventLine, GetParam().reportDate};
  test::ScopedInstall<platform::Locale> installed(clock);
  test::OnFreshThread([&] {
    texts = {EventLine(TodayText(), "Data saved"), GeneralDateText({2026, 12, 5, 7, 5, 12})};
    for (const auto& [value, text] : GetParam().values) texts.push_back(value.Text().value_or("<none>"));
  });
  for (const auto& [value, text] : GetParam().values) expected.push_back(text);
  EXPECT_EQ(texts, expected);
}

// Day first and comma decimals: the locale's own forms, leading zeros and all.
const Texts kGermanTexts = {{1.5, "1,5"}, {1.5E-05, "1,5E-05"}, {0.25f, "0,25"}, {Currency::FromScaled(12345), "1,2345"},
                            {Date{45658.75}, "01.01.2025 18:00:00"}, {Date{45658.0}, "01.01.2025"}};
const char *const kUsLine = "12/05/1999 3:07:45 PM - Data saved", *const kUsDate = "12/5/2026 7:05:12 AM";
INSTANTIATE_TEST_SUITE_P(Locales, RegionalTextTest,
    ::testing::Values(Regional{"C", kUsLine, kUsDate, kPlainTexts}, Regional{"POSIX", kUsLine, kUsDate, kPlainTexts},
                      Regional{"en_US.UTF-8", kUsLine, kUsDate, kPlainTexts},
                      Regional{"de_DE.UTF-8", "12.05.1999 15:07:45 - Data saved", "05.12.2026 07:05:12", kGermanTexts}),
    [](const auto& info) { return std::string(info.param.locale).substr(0, 5); });

}  // namespace
}  // namespace jotwell
