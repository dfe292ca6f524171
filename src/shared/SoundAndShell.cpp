// The sounds and the shell, which the log, the utilities and the About
// window all use.
#include "base/JotBookPrivate.h"
#include "base/Module1.h"
#include "errors/Trap.h"

namespace jotwell {
namespace {

constexpr Procedure kSound = "Module1![Sub Sound]";
constexpr Procedure kRunShellExecute = "Module1![Sub RunShellExecute]";
constexpr Procedure kExclamationSound = "JotBook![Sub ExclamationSound]";

}  // namespace

namespace Module1 {

void Sound() {
  Long dl = 0;
  RunTraced(
      kSound, [&](Registrations& r) { r.Variables({{"dl&", dl}}); },
      [&](Trap& trap) { trap.Do([&] { CurrentDesktop()->PlayExclamation(); }); });
}

void RunShellExecute(String& sTopic, Variant& sFile, Variant& sParams, Variant& sDirectory,
                     Long& nShowCmd) {
  Long hWndDesk = 0;  // the desktop itself owns what the shell shows
  Long success = 0;
  String file, parameters, directory;
  RunTraced(
      kRunShellExecute,
      [&](Registrations& r) {
        r.Arguments({{"sTopic", sTopic},
                     {"sFile", sFile},
                     {"sParams", sParams},
                     {"sDirectory", sDirectory},
                     {"nShowCmd", nShowCmd}});
        r.Variables({{"hWndDesk", hWndDesk}, {"success", success}});
      },
      [&](Trap& trap) {
        trap.Do([&] { file = sFile.TextOrMismatch(); });
        trap.Do([&] { parameters = sParams.TextOrMismatch(); });
        trap.Do([&] { directory = sDirectory.TextOrMismatch(); });
        trap.Do([&] { CurrentDesktop()->Open(sTopic, file, parameters, directory, nShowCmd); });
      });
}

}  // namespace Module1

void JotBook::Private::ExclamationSound() {
  RunTraced(kExclamationSound, NoRegistrations,
            [&](Trap& trap) { trap.Do([&] { Module1::Sound(); }); });
}

}  // namespace jotwell
