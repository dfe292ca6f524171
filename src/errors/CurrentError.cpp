#include "errors/CurrentError.h"

#include <new>

#include "base/LibraryFacts.h"
#include "base/MemberCall.h"
#include "platform/PerThread.h"

namespace jotwell {

ErrorRecord& CurrentError() { return platform::PerThread<ErrorRecord>(); }

RuntimeError AsRuntimeError(const std::exception& caught) {
  if (auto* error = dynamic_cast<const RuntimeError*>(&caught)) return *error;
  if (dynamic_cast<const std::bad_alloc*>(&caught)) return RuntimeError(errnum::kOutOfMemory);
  if (dynamic_cast<const std::out_of_range*>(&caught))
    return RuntimeError(errnum::kSubscriptOutOfRange);
  if (dynamic_cast<const std::overflow_error*>(&caught)) return RuntimeError(errnum::kOverflow);
  return RuntimeError(errnum::kInternalError, caught.what());
}

void RecordCurrentError(const RuntimeError& error) {
  ErrorRecord& record = CurrentError();
  record.Number = error.Number();
  record.Description = error.Description();
  record.Source = kLibraryName;
  record.LastDllError = error.LastDllError();
  record.Line = 0;
  NoteFailure(error);
}

}  // namespace jotwell
