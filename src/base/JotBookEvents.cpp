// JotBook's events: delivered synchronously to every connected sink.
#include <algorithm>

#include "base/JotBookPrivate.h"

namespace jotwell {

void JotBook::Private::Advise(JotBookEvents& sink) { sinks_.push_back(&sink); }

void JotBook::Private::Unadvise(JotBookEvents& sink) {
  auto found = std::find(sinks_.begin(), sinks_.end(), &sink);
  if (found != sinks_.end()) sinks_.erase(found);
}

// Sinks may connect or disconnect while an event is being delivered, so each
// event goes to the sinks connected when it was raised.
void JotBook::Private::RaiseSuccessfulWriteToLogFile() {
  std::vector<JotBookEvents*> sinks = sinks_;
  for (JotBookEvents* sink : sinks) sink->SuccessfulWriteToLogFile();
}

void JotBook::Private::RaiseErrorWritingToLogFile(Integer& RunTimeErrorNum) {
  std::vector<JotBookEvents*> sinks = sinks_;
  for (JotBookEvents* sink : sinks) sink->ErrorWritingToLogFile(RunTimeErrorNum);
}

}  // namespace jotwell
