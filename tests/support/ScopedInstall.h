// Replacements installed for one scope: a platform group, or the Desktop.
// They go on every exit, a failed assertion's early return among them.
#pragma once

#include <memory>

#include "jotwell/Desktop.h"
#include "platform/Group.h"

namespace jotwell::test {

template <class Interface>
class ScopedInstall {
 public:
  explicit ScopedInstall(Interface& replacement)
      : previous_(platform::Group<Interface>::Install(&replacement)) {}
  ~ScopedInstall() { platform::Group<Interface>::Install(previous_); }
  ScopedInstall(const ScopedInstall&) = delete;
  ScopedInstall& operator=(const ScopedInstall&) = delete;

 private:
  Interface* previous_;
};

// Puts back the default Desktop afterwards: asking for the one in use could
// start the desktop agent.
class ScopedDesktop {
 public:
  explicit ScopedDesktop(std::shared_ptr<Desktop> desktop) { SetDesktop(std::move(desktop)); }
  ~ScopedDesktop() { SetDesktop(nullptr); }
  ScopedDesktop(const ScopedDesktop&) = delete;
  ScopedDesktop& operator=(const ScopedDesktop&) = delete;
};

}  // namespace jotwell::test
