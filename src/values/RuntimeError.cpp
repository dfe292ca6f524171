#include "jotwell/RuntimeError.h"

namespace jotwell {

RuntimeError::RuntimeError(Long number, Long lastDllError)
    : RuntimeError(number, DescriptionOf(number), lastDllError) {}

RuntimeError::RuntimeError(Long number, const String& description, Long lastDllError)
    : std::runtime_error(description), number_(number), lastDllError_(lastDllError) {}

String DescriptionOf(Long number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 48: return "Error in loading DLL";
    case 51: return "Internal error";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 67: return "Too many files";
    case 68: return "Device unavailable";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 453: return "Specified DLL function not found";
    default: return "Application-defined or object-defined error";
  }
}

}  // namespace jotwell
