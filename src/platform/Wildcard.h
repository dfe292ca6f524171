// File-name patterns as the Windows file search reads them, for backends
// whose system search takes no pattern.
#pragma once

#include <string_view>

namespace jotwell::platform {

// Whether `name` matches `pattern`: `*` stands for any run of characters,
// `?` for exactly one, and a pattern ending in ".*" also matches the name
// without that extension, so "*.*" matches every name. Both arguments are
// sequences of characters already brought to one case by the caller.
bool MatchesWildcard(std::u32string_view name, std::u32string_view pattern);

}  // namespace jotwell::platform
