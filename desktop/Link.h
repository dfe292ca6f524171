// The agent's end of the line protocol: requests from the library on
// standard input, answers on standard output.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "AgentProtocol.h"

namespace jotwell::desktop {

// The agent speaks the protocol throughout.
using namespace agent_protocol;

// Hands each request that arrives to `handle`, on the main loop; quits the
// main loop when the library closes its end.
void ListenForRequests(std::function<void(const Message&)> handle);

// Sends the library a message about request `request`.
void Answer(long request, std::string_view verb, std::vector<std::string> arguments = {});

// `text` as GTK takes it: valid UTF-8 without NULs; whatever is not becomes
// the replacement character.
std::string Displayable(const std::string& text);

}  // namespace jotwell::desktop
