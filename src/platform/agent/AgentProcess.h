// Starting the desktop agent: where its program lies and how it is started.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace jotwell::platform::agent {

// A running agent and the library's end of the socket that is the agent's
// standard input and output.
struct AgentProcess {
  pid_t pid;
  int socket;
};

// The agent's program: beside the library in the build tree, or under
// libexec/jotwell/ of the library's prefix once installed. Empty when
// neither is a program; standard error then tells why.
std::string FindAgentProgram();

// Tells on standard error, in one line, why the process goes on headless.
void TellHeadless(const std::string& why);

// The agent's exit status when it cannot open a display.
inline constexpr int kNoDisplay = 2;

// Starts `program` and waits until it reports its display open. nullopt
// when it cannot start, cannot open a display or does not answer in time;
// nothing of it is left behind then, and standard error tells why.
std::optional<AgentProcess> StartAgent(const std::string& program);

// Ends the agent `pid` if it still runs, reaps it, and tells how it ended.
std::string StopAgent(pid_t pid);

}  // namespace jotwell::platform::agent
