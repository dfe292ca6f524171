// Logs a line and reads a key back, with its files in the folder given.
//
//   minimal FOLDER
#include <filesystem>
#include <iostream>

#include "jotwell/JotBook.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: minimal FOLDER\n";
    return 2;
  }
  // Absolute: the library completes a relative log or INI name with its
  // own folder, not the current one.
  const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
  std::filesystem::create_directories(folder);

  jotwell::JotBook book;  // the first one on a thread shows the About window
  book.LogFileName((folder / "app.log").string());
  book.WriteEventToLogFile("Program started");
  book.INI_PathToINI((folder / "app.ini").string());
  book.INI_WriteString("Main", "Greeting", "hello");
  std::cout << book.INI_ReadString("Main", "Greeting") << "\n";
}
