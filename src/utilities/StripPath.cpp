// The file name of an existing file's path.
#include "base/JotBookPrivate.h"
#include "utilities/Abort.h"
#include "values/PathDialect.h"

namespace jotwell {

namespace {

constexpr Procedure kStripPath = "JotBook![Function StripPath]";

// Positions are counted in characters, from 1, in 16 bits: the search after
// a separator at the largest position would overflow.
void FindLastSeparator(const String& path, Integer& x, Integer& ct, size_t& after) {
  Long position = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if ((static_cast<unsigned char>(path[i]) & 0xC0) == 0x80) continue;  // inside a character
    ++position;
    if (path[i] != NativePaths().Separator()) continue;
    if (position >= INT16_MAX) throw RuntimeError(errnum::kOverflow);
    x = ct = static_cast<Integer>(position);
    after = i + 1;
  }
}

}  // namespace

String JotBook::StripPath(const String& FullPath) {
  String result;
  Integer x = 0;
  Integer ct = 0;
  Boolean DoesItExist;
  RunMember(
      private_->lastFailure_, kStripPath,
      [&](Registrations& r) {
        r.Arguments({{"FullPath$", FullPath}});
        r.Variables({{"x%", x}, {"ct%", ct}, {"DoesItExist", DoesItExist}});
      },
      [&](Trap& trap) {
        trap.Do([&] { DoesItExist = private_->CheckFileExistance(FullPath); });
        if (trap.If([&] { return DoesItExist.IsFalse(); }))
          return Abort(trap, *private_, errnum::kFileNotFound,
                       "Cannot find file " + FullPath + ", function StripPath aborted!");
        size_t after = 0;
        trap.Do([&] { FindLastSeparator(FullPath, x, ct, after); });
        trap.Do([&] { result = FullPath.substr(after); });
      });
  return result;
}

}  // namespace jotwell
