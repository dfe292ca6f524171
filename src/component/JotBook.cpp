#include "jotwell/JotBook.h"

#include <algorithm>

#include "component/ModuleState.h"
#include "utilities/Module1.h"

namespace jotwell {

JotBook::JotBook() {
  ModuleState& state = ThisThread();
  if (!state.started) {
    state.started = true;
    Module1::Main();
  }
}

JotBook& JotBook::Global() {
  thread_local JotBook predeclared;
  return predeclared;
}

void JotBook::Advise(JotBookEvents& sink) { sinks_.push_back(&sink); }

void JotBook::Unadvise(JotBookEvents& sink) {
  auto found = std::find(sinks_.begin(), sinks_.end(), &sink);
  if (found != sinks_.end()) sinks_.erase(found);
}

// Sinks may connect or disconnect while an event is being delivered, so each
// event goes to the sinks connected when it was raised.
void JotBook::RaiseSuccessfulWriteToLogFile() {
  std::vector<JotBookEvents*> sinks = sinks_;
  for (JotBookEvents* sink : sinks) sink->SuccessfulWriteToLogFile();
}

void JotBook::RaiseErrorWritingToLogFile(Integer& RunTimeErrorNum) {
  std::vector<JotBookEvents*> sinks = sinks_;
  for (JotBookEvents* sink : sinks) sink->ErrorWritingToLogFile(RunTimeErrorNum);
}

}  // namespace jotwell
