// Stands in for the browser and the mail program, showing nothing:
// appends the address it is given, and a line break, to a file.
// Usage: recorder FILE ADDRESS
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::FILE* file = std::fopen(argv[1], "ab");
  if (!file) return 1;
  std::fprintf(file, "%s\r\n", argv[2]);
  return std::fclose(file) == 0 ? 0 : 1;
}
