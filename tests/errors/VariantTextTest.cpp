// The text form of values in reports, under the user's regional settings.
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "errors/Variant.h"
#include "support/TestSupport.h"

// glibc keeps the list it parsed from LOCPATH until the process ends; the
// sanitizer build's leak checker should not count it against the test.
extern "C" const char* __lsan_default_suppressions() { return "leak:__argz_add_sep\n"; }

namespace jotwell {
namespace {

using test::ScopedEnv;

std::optional<String> TextOnFreshThread(const Variant& value) {
  std::optional<String> text;
  test::OnFreshThread([&] { text = value.Text(); });
  return text;
}

struct TextCase {
  const char* name;
  Variant value;
  const char* text;
};

class VariantText : public ::testing::TestWithParam<TextCase> {};

TEST_P(VariantText, UnderThePlainLocale) {
  ScopedEnv plain("LC_ALL", "C");
  EXPECT_EQ(TextOnFreshThread(GetParam().value).value_or("<none>"), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, VariantText,
    ::testing::Values(
        TextCase{"Integer", Integer(-32768), "-32768"},
        TextCase{"Long", Long(2147483647), "2147483647"},
        TextCase{"NegativeLong", Long(-5), "-5"},
        TextCase{"Byte", std::uint8_t(255), "255"},
        TextCase{"DoubleTenth", 0.1, "0.1"},
        TextCase{"DoubleSmall", 1.5E-05, "1.5E-05"},
        TextCase{"DoubleLarge", 1E+20, "1E+20"},
        TextCase{"DoubleNegative", -2.5, "-2.5"},
        TextCase{"DoubleNoGrouping", 1234567.5, "1234567.5"},
        TextCase{"DoubleWhole", 100.0, "100"},
        TextCase{"SingleTenth", 0.1f, "0.1"},
        TextCase{"Single", 3.25f, "3.25"},
        TextCase{"CurrencyFraction", Currency::FromScaled(12345), "1.2345"},
        TextCase{"CurrencyWhole", Currency::FromScaled(50000), "5"},
        TextCase{"CurrencyNegative", Currency::FromScaled(-15000), "-1.5"},
        TextCase{"CurrencySmallest", Currency::FromScaled(1), "0.0001"},
        TextCase{"CurrencyMostNegative", Currency::FromScaled(INT64_MIN),
                 "-922337203685477.5808"},
        TextCase{"True", True, "True"},
        TextCase{"False", False, "False"},
        TextCase{"RawOneReadsTrue", Boolean::FromRaw(1), "True"},
        TextCase{"Empty", Variant(), ""},
        TextCase{"Null", NullValue{}, ""},
        TextCase{"String", "C:\\Temp\\old.txt", "C:\\Temp\\old.txt"},
        TextCase{"ErrorCodeHasNone", ErrorCode{5}, "<none>"},
        TextCase{"MissingHasNone", Variant::Missing(), "<none>"},
        TextCase{"ObjectHasNone", ObjectRef{nullptr}, "<none>"},
        TextCase{"ArrayHasNone", VariantArray::OneDimensional({"a"}), "<none>"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(VariantDateText, LeavesOutTheTimeAtMidnight) {
  ScopedEnv plain("LC_ALL", "C");
  String midnight, noon, beforeEpoch, expectedMidnight, expectedNoon, expectedBeforeEpoch;
  test::OnFreshThread([&] {
    platform::Locale& locale = platform::UserLocale();
    midnight = Variant(Date{45658.0}).Text().value_or("");
    noon = Variant(Date{45658.5}).Text().value_or("");
    beforeEpoch = Variant(Date{-1.5}).Text().value_or("");
    expectedMidnight = locale.ShortDate({2025, 1, 1, 0, 0, 0});
    expectedNoon = locale.ShortDate({2025, 1, 1}) + " " + locale.LongTime({2025, 1, 1, 12, 0, 0});
    expectedBeforeEpoch =
        locale.ShortDate({1899, 12, 29}) + " " + locale.LongTime({1899, 12, 29, 12, 0, 0});
  });
  EXPECT_EQ(midnight, expectedMidnight);
  EXPECT_EQ(noon, expectedNoon);
  EXPECT_EQ(beforeEpoch, expectedBeforeEpoch);
}

// A German locale generated for the test: comma as decimal separator, day
// first in dates.
TEST(VariantLocale, FollowsTheUsersDecimalSeparatorAndDateFormat) {
  test::TempDir locales;
  std::string command = "localedef -i de_DE -f UTF-8 '" + locales.File("de_DE.UTF-8") +
                        "' >/dev/null 2>&1";
  if (std::system("command -v localedef >/dev/null 2>&1") != 0) GTEST_SKIP() << "no localedef";
  std::system(command.c_str());
  if (!std::filesystem::exists(locales.File("de_DE.UTF-8")))
    GTEST_SKIP() << "localedef could not build de_DE";

  ScopedEnv path("LOCPATH", locales.path().string());
  ScopedEnv all("LC_ALL", "de_DE.UTF-8");
  std::vector<String> texts;
  test::OnFreshThread([&] {
    for (const Variant& v : {Variant(1.5), Variant(1.5E-05), Variant(0.25f),
                              Variant(Currency::FromScaled(12345)), Variant(1234567.5),
                              Variant(Date{45658.75}), Variant(Date{45658.0})})
      texts.push_back(v.Text().value_or("<none>"));
  });
  EXPECT_EQ(texts, (std::vector<String>{"1,5", "1,5E-05", "0,25", "1,2345", "1234567,5",
                                         "01.01.2025 18:00:00", "01.01.2025"}));
}

}  // namespace
}  // namespace jotwell
