#include "platform/Wildcard.h"

namespace jotwell::platform {
namespace {

// Greedy matching with one remembered star: linear for every pattern that
// has at most one star and never worse than name × pattern.
bool Matches(std::u32string_view name, std::u32string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starAt = std::u32string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (starAt != std::u32string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::u32string_view name, std::u32string_view pattern) {
  if (Matches(name, pattern)) return true;
  return pattern.ends_with(U".*") && Matches(name, pattern.substr(0, pattern.size() - 2));
}

}  // namespace jotwell::platform
