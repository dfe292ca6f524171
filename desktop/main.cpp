// jotwell-desktop: the desktop agent. The library starts one per host
// process and asks it, over the line protocol, to show its windows, play
// its sounds and hold its clipboard text; the agent reports back what the
// user did and leaves every decision to the library. It ends when the
// host closes its end.
#include <gtk/gtk.h>
#include <signal.h>

#include "Clipboard.h"
#include "Link.h"
#include "Sounds.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

void Handle(const Message& message) {
  const std::vector<std::string>& arguments = message.arguments;
  std::string first = arguments.empty() ? std::string() : arguments.front();
  if (message.verb == kVerbBox) ShowMessageBox(message.request, arguments);
  else if (message.verb == kVerbReport) ShowReport(message.request, first);
  else if (message.verb == kVerbText) ReplaceReportText(message.request, first);
  else if (message.verb == kVerbAbout) ShowAbout(message.request, arguments);
  else if (message.verb == kVerbEnd) EndRequest(message.request);
  else if (message.verb == kVerbClipboard) KeepOnClipboard(first);
  else if (message.verb == kVerbSound) PlaySound(first);
}

}  // namespace
}  // namespace jotwell::desktop

int main(int argc, char** argv) {
  using namespace jotwell::desktop;
  // A host that has gone shows as the end of input, not as a signal.
  ::signal(SIGPIPE, SIG_IGN);
  // Nothing here is for assistive tools to wait on at start-up.
  g_setenv("NO_AT_BRIDGE", "1", TRUE);
  g_set_prgname("jotwell-desktop");
  // The library reads 2 as "no display" and says so in its own one line.
  if (!gtk_init_check(&argc, &argv)) return 2;
  LoadStyle();
  ListenForRequests(Handle);
  Answer(0, kVerbReady);
  gtk_main();
  return 0;
}
