#include <gtest/gtest.h>

#include "platform/Wildcard.h"

namespace jotwell::platform {
namespace {

TEST(Wildcard, MatchesNamesAgainstStarsAndQuestionMarks) {
  struct Row { std::u32string_view name, pattern; bool matches; };
  const Row rows[] = {
      {U"A.TXT", U"*.TXT", true},       {U"A.TXT.BAK", U"*.TXT", false},  {U"README", U"*.*", true},
      {U"README", U"README.*", true},   {U"READ.ME", U"*.", false},       {U"ABC", U"A?C", true},
      {U"AC", U"A?C", false},           {U"ABBBC", U"A*B*C", true},       {U"ABD", U"A*C", false},
      {U"X.TXT", U"*X*.*T", true},      {U"", U"*", true},                {U".HIDDEN", U"*", true},
      {U"AAAAAAAAAAAAAAAAAAAAAAAAB", U"*A*A*A*A*A*C", false},
  };
  for (const Row& row : rows)
    EXPECT_EQ(MatchesWildcard(row.name, row.pattern), row.matches)
        << std::string(row.name.begin(), row.name.end()) << " ~ " << std::string(row.pattern.begin(), row.pattern.end());
}

}  // namespace
}  // namespace jotwell::platform
