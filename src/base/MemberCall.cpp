#include "base/MemberCall.h"

namespace jotwell {

namespace {
thread_local JotBook::FailureInfo* innermostCall = nullptr;
}  // namespace

MemberCall::MemberCall(JotBook::FailureInfo& lastFailure) : outer_(innermostCall) {
  lastFailure = {};
  innermostCall = &lastFailure;
}

MemberCall::~MemberCall() { innermostCall = outer_; }

void NoteFailure(Long number, const String& description) {
  if (innermostCall) *innermostCall = {number, description};
}

}  // namespace jotwell
