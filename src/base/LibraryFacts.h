// What the library says about itself.
#pragma once

#include "jotwell/ValueTypes.h"

namespace jotwell {

inline constexpr const char* kLibraryName = "Jotwell";
inline constexpr const char* kApplicationTitle = "Jotwell";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 5;
// Placeholders: the product has no home page or mailbox of its own yet.
inline constexpr const char* kHomePage = "https://jotwell.example.org/";
inline constexpr const char* kMakerName = "Jotwell team";
inline constexpr const char* kMakerMail = "mailto:team@jotwell.example.org";

// "1.1.5"
String VersionText();
// The folder that holds the library file; it ends with a separator only
// when it is a root.
String LibraryFolder();
// The title of every message box the library shows.
String MessageBoxTitle();

}  // namespace jotwell
