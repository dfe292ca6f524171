// The failures a member call meets, kept on its object for
// JotBook::LastFailure. Calls nest (an event sink may call another object),
// so each thread knows the innermost call running on it.
#pragma once

#include "jotwell/JotBook.h"
#include "platform/Refusal.h"

namespace jotwell {

// A public member's call, from entry to return: clears the object's record
// and makes it where this thread's failures go.
class MemberCall {
 public:
  explicit MemberCall(JotBook::FailureInfo& lastFailure);
  ~MemberCall();
  MemberCall(const MemberCall&) = delete;
  MemberCall& operator=(const MemberCall&) = delete;

 private:
  friend void NoteFailure(Long number, const String& description);

  JotBook::FailureInfo& lastFailure_;
  MemberCall* outer_;
};

// Makes the failure the last one of the member call running on this thread;
// outside a call (the start-up) it belongs to none.
void NoteFailure(Long number, const String& description);
inline void NoteFailure(const RuntimeError& error) {
  NoteFailure(error.Number(), error.Description());
}

// Runs a platform operation that answers a refusal with false, noting the
// system's reason as the call's failure when it refuses.
template <class Operation>
bool Refusable(Operation&& operation) {
  platform::ForgetRefusal();
  bool done = operation();
  if (!done) NoteFailure(platform::LastRefusal());
  return done;
}

}  // namespace jotwell
