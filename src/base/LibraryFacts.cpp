#include "base/LibraryFacts.h"

#include "platform/component.h"
#include "values/PathDialect.h"

namespace jotwell {

namespace {
constexpr const char* kNotice = " - (c) the Jotwell team";
}

String VersionText() {
  return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

String LibraryFolder() { return NativePaths().FolderOf(platform::Component().LibraryPath()); }

String MessageBoxTitle() {
  return platform::Component().LibraryFileName() + " version " + VersionText() + kNotice;
}

}  // namespace jotwell
