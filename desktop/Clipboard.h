// The clipboard text the agent holds for the library.
#pragma once

#include <string>

namespace jotwell::desktop {

// Offers `text`, byte for byte, as the clipboard's text until someone else
// copies; a clipboard manager may keep it after the agent ends.
void KeepOnClipboard(std::string text);

}  // namespace jotwell::desktop
