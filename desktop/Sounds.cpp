#include <canberra.h>
#include <glib.h>

#include "Sounds.h"

namespace jotwell::desktop {
namespace {

// The desktop's sound server first. Sound cards are tried directly only
// where there are any: probing for none fills standard error.
ca_context* OpenContext() {
  ca_context* context = nullptr;
  if (ca_context_create(&context) != CA_SUCCESS) return nullptr;
  ca_context_set_driver(context, "pulse");
  if (ca_context_open(context) == CA_SUCCESS) return context;
  ca_context_destroy(context);
  context = nullptr;
  if (!g_file_test("/dev/snd", G_FILE_TEST_IS_DIR) || ca_context_create(&context) != CA_SUCCESS)
    return nullptr;
  return context;
}

}  // namespace

// With no sound server, no sound card or no theme nothing plays, and
// nothing fails.
void PlaySound(const std::string& event) {
  static ca_context* context = OpenContext();
  if (context) ca_context_play(context, 0, CA_PROP_EVENT_ID, event.c_str(), nullptr);
}

}  // namespace jotwell::desktop
