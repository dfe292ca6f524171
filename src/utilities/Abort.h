// How a utility member aborts on a failed precondition.
#pragma once

#include "base/LibraryBox.h"
#include "errors/Trap.h"

namespace jotwell {

// The exclamation sound, then the library's error box with `message`, each a
// statement of the member's trap. `book` is JotBook's private part.
template <class Book>
void Abort(Trap& trap, Book& book, const String& message) {
  trap.Do([&] { book.ExclamationSound(); });
  trap.Do([&] { ShowErrorBox({message}); });
}

}  // namespace jotwell
