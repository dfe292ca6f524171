#include <canberra.h>

#include "Sounds.h"

namespace jotwell::desktop {

// With no sound server or no theme nothing plays, and nothing fails.
void PlaySound(const std::string& event) {
  static ca_context* context = [] {
    ca_context* created = nullptr;
    return ca_context_create(&created) == CA_SUCCESS ? created : nullptr;
  }();
  if (context) ca_context_play(context, 0, CA_PROP_EVENT_ID, event.c_str(), nullptr);
}

}  // namespace jotwell::desktop
