#include "base/JotBookPrivate.h"
#include "base/Module1.h"
#include "base/ThreadState.h"

namespace jotwell {

JotBook::JotBook() {
  ThreadState& state = ThisThread();
  if (!state.started) {
    state.started = true;
    Module1::Main();
  }
  private_ = std::make_unique<Private>();
}

JotBook::~JotBook() = default;

JotBook& JotBook::Global() {
  thread_local JotBook predeclared;
  return predeclared;
}

void JotBook::Advise(JotBookEvents& sink) { private_->Advise(sink); }
void JotBook::Unadvise(JotBookEvents& sink) { private_->Unadvise(sink); }

}  // namespace jotwell
