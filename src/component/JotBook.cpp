#include "base/JotBookPrivate.h"
#include "base/Module1.h"
#include "base/ThreadState.h"
#include "platform/PerThread.h"

namespace jotwell {

namespace {

// Main runs once on each thread, before its first object is handed out.
void StartUpOnce() {
  ThreadState& state = ThisThread();
  if (state.started) return;
  state.started = true;
  Module1::Main();
}

}  // namespace

JotBook::JotBook() : JotBook(WithoutStartUp{}) { StartUpOnce(); }

JotBook::JotBook(WithoutStartUp) : private_(std::make_unique<Private>()) {}

JotBook::~JotBook() = default;

// Made before the start-up runs, so that the About window's handlers or a
// host's Desktop calling back into Global() find it made instead of making
// it a second time.
JotBook& JotBook::Global() {
  JotBook& predeclared = platform::PerThread<JotBook>([] { return new JotBook(WithoutStartUp{}); });
  StartUpOnce();
  return predeclared;
}

void JotBook::Advise(JotBookEvents& sink) { private_->Advise(sink); }
void JotBook::Unadvise(JotBookEvents& sink) { private_->Unadvise(sink); }

JotBook::FailureInfo JotBook::LastFailure() const { return private_->lastFailure_; }

}  // namespace jotwell
