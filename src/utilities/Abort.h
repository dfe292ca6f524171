// How a utility member aborts on a failed precondition.
#pragma once

#include "base/LibraryBox.h"
#include "errors/Trap.h"

namespace jotwell {

// The exclamation sound, then the library's error box with `message`, each a
// statement of the member's trap; the call's failure is `number` with the
// message. `book` is JotBook's private part.
template <class Book>
void Abort(Trap& trap, Book& book, Long number, const String& message) {
  NoteFailure(number, message);
  trap.Do([&] { book.ExclamationSound(); });
  trap.Do([&] { ShowErrorBox({message}); });
}

}  // namespace jotwell
