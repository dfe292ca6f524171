// A host outside the tree: writes one event with the C++ API and asks for
// the component by name, which is not registered here.
#include <cstdio>

#include "jotwell/Desktop.h"
#include "jotwell/JotBook.h"
#include "jotwell/JotBookClient.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  jotwell::SetDesktop(jotwell::HeadlessDesktop());
  jotwell::JotBook book;
  book.LogFileName(argv[1]);
  book.WriteEventToLogFile("from a consumer");
  void* object = nullptr;
  return JotwellCreateObject("Jotwell.JotBook", IID_IDispatch, &object) == REGDB_E_CLASSNOTREG ? 0 : 1;
}
