#include <mutex>

#include "platform/desktop.h"

namespace jotwell {
namespace {

std::mutex desktopMutex;
std::shared_ptr<Desktop> chosenDesktop;

}  // namespace

void SetDesktop(std::shared_ptr<Desktop> desktop) {
  std::lock_guard lock(desktopMutex);
  chosenDesktop = std::move(desktop);
}

std::shared_ptr<Desktop> CurrentDesktop() {
  std::lock_guard lock(desktopMutex);
  if (!chosenDesktop) chosenDesktop = platform::DefaultDesktop();
  return chosenDesktop;
}

}  // namespace jotwell
