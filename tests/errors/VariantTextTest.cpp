// The text form of values in reports, under the user's regional settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/Variant.h"
#include "support/TestSupport.h"

// glibc keeps the list it parsed from LOCPATH until the process ends; the
// sanitizer build's leak checker should not count it against the test.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace jotwell {
namespace {

// The text forms on a fresh thread, which reads the regional settings anew.
std::vector<String> Texts(const std::vector<Variant>& values) {
  std::vector<String> texts;
  test::OnFreshThread([&] {
    for (const Variant& v : values) texts.push_back(v.Text().value_or("<none>"));
  });
  return texts;
}

TEST(VariantText, UnderThePlainLocale) {
  test::ScopedEnv plain("LC_ALL", "C");
  std::vector<std::pair<Variant, String>> cases = {
      {Integer(-32768), "-32768"},          {Long(2147483647), "2147483647"},
      {0.1, "0.1"},                         {-2.5, "-2.5"},
      {1.5E-05, "1.5E-05"},                 {1E+20, "1E+20"},
      {1234567.5, "1234567.5"},             {100.0, "100"},
      {0.1f, "0.1"},                        {Currency::FromScaled(12345), "1.2345"},
      {Currency::FromScaled(-15000), "-1.5"}, {Currency::FromScaled(INT64_MIN), "-922337203685477.5808"},
      {True, "True"},                       {Boolean::FromRaw(1), "True"},
      {False, "False"},                     {Variant(), ""},
      {NullValue{}, ""},                    {ErrorCode{5}, "<none>"},
      {Variant::Missing(), "<none>"},
  };
  std::vector<Variant> values;
  for (const auto& c : cases) values.push_back(c.first);
  std::vector<String> texts = Texts(values);
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(texts[i], cases[i].second) << "case " << i;
  // Dates leave out the time at midnight.
  String midnight, noon;
  test::OnFreshThread([&] {
    midnight = platform::UserLocale().ShortDate({2025, 1, 1, 0, 0, 0});
    noon = platform::UserLocale().ShortDate({2025, 1, 1}) + " " + platform::UserLocale().LongTime({2025, 1, 1, 12, 0, 0});
  });
  EXPECT_EQ(Texts({Date{45658.0}, Date{45658.5}}), (std::vector<String>{midnight, noon}));
}

// A German locale generated for the test: comma as decimal separator, day
// first in dates.
TEST(VariantText, FollowsTheUsersDecimalSeparatorAndDateFormat) {
  test::TempDir locales;
  if (std::system("command -v localedef >/dev/null 2>&1") != 0) GTEST_SKIP() << "no localedef";
  std::system(("localedef -i de_DE -f UTF-8 '" + locales.File("de_DE.UTF-8") + "' >/dev/null 2>&1").c_str());
  if (!std::filesystem::exists(locales.File("de_DE.UTF-8"))) GTEST_SKIP() << "localedef failed";
  test::ScopedEnv path("LOCPATH", locales.path().string());
  test::ScopedEnv all("LC_ALL", "de_DE.UTF-8");
  EXPECT_EQ(Texts({1.5, 1.5E-05, 0.25f, Currency::FromScaled(12345), Date{45658.75}, Date{45658.0}}),
            (std::vector<String>{"1,5", "1,5E-05", "0,25", "1,2345", "01.01.2025 18:00:00", "01.01.2025"}));
}

}  // namespace
}  // namespace jotwell
