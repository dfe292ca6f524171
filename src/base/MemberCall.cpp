#include "base/MemberCall.h"

namespace jotwell {

namespace {
thread_local MemberCall* innermostCall = nullptr;
}  // namespace

MemberCall::MemberCall(JotBook::FailureInfo& lastFailure)
    : lastFailure_(lastFailure), outer_(innermostCall) {
  // A sink's call back into an object whose call raised the event is part
  // of that call: what the outer call met so far stays.
  bool nested = false;
  for (const MemberCall* call = outer_; call && !nested; call = call->outer_)
    nested = &call->lastFailure_ == &lastFailure;
  if (!nested) lastFailure = {};
  innermostCall = this;
}

MemberCall::~MemberCall() { innermostCall = outer_; }

void NoteFailure(Long number, const String& description) {
  if (innermostCall) innermostCall->lastFailure_ = {number, description};
}

}  // namespace jotwell
