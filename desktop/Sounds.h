// The sound theme's events.
#pragma once

#include <string>

namespace jotwell::desktop {

// Plays the sound theme's `event` ("dialog-warning", "bell").
void PlaySound(const std::string& event);

}  // namespace jotwell::desktop
