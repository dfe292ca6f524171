// Work done in forked children, and what a child may change about itself
// first: its limits, its user.
#pragma once

#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace jotwell::test {

// Runs each piece of work in a forked child, all side by side, and returns
// what each returned, with a note when a child threw or died. A child still
// running after `limit` is killed, so that a hang fails the test instead of
// holding up the run.
std::vector<std::string> InChildren(const std::vector<std::function<std::string()>>& works,
                                    std::chrono::seconds limit = std::chrono::seconds(60));
std::string InChild(const std::function<std::string()>& work, std::chrono::seconds limit = std::chrono::seconds(60));

// Lowers this process's soft limit on `resource`; false when refused.
bool Limit(int resource, rlim_t to);
// Root may write anything: turns it into the user nobody. False when refused.
bool BecomeNobody();

}  // namespace jotwell::test
