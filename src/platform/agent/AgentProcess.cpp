#include "platform/agent/AgentProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "AgentProtocol.h"
#include "platform/component.h"
#include "platform/posix/Retry.h"
#include "values/PathDialect.h"

extern char** environ;

namespace jotwell::platform::agent {
namespace {

using posix::RetryOnInterrupt;

constexpr const char* kProgramName = "jotwell-desktop";
// A display that has not answered by then is as good as none.
constexpr auto kReadyWait = std::chrono::seconds(10);

bool IsProgram(const std::string& path) { return ::access(path.c_str(), X_OK) == 0; }
bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// The line the agent sends first, read byte by byte so that nothing after
// it is taken from the socket.
bool ReadyBefore(int socket, std::chrono::steady_clock::time_point deadline) {
  std::string line;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{socket, POLLIN, 0};
    int ready = RetryOnInterrupt([&] { return ::poll(&waiting, 1, static_cast<int>(left.count())); });
    if (ready <= 0) return false;
    char byte;
    if (RetryOnInterrupt([&] { return ::read(socket, &byte, 1); }) != 1) return false;
    if (byte == '\n') break;
    line += byte;
  }
  auto message = agent_protocol::Parse(line);
  return message && message->request == 0 && message->verb == agent_protocol::kVerbReady;
}

}  // namespace

std::string StopAgent(pid_t pid) {
  int status = 0;
  // An agent that has just closed its end is still on its way out.
  pid_t ended = 0;
  for (int wait = 0; wait < 50 && ended == 0; ++wait) {
    ended = RetryOnInterrupt([&] { return ::waitpid(pid, &status, WNOHANG); });
    if (ended == 0) ::usleep(10000);
  }
  bool killed = ended == 0;
  if (killed) {
    ::kill(pid, SIGKILL);
    RetryOnInterrupt([&] { return ::waitpid(pid, &status, 0); });
  }
  if (killed) return "did not answer";
  if (WIFEXITED(status))
    return WEXITSTATUS(status) == kNoDisplay ? "could not open the display"
                                             : "exited with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "was ended by signal " + std::to_string(WTERMSIG(status));
  return "ended";
}

void TellHeadless(const std::string& why) {
  std::string line = "jotwell: " + why + "; message boxes and reports go to standard error\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

namespace {

void Tell(const std::string& program, const std::string& what) {
  TellHeadless("the desktop agent " + program + " " + what);
}

}  // namespace

std::string FindAgentProgram() {
  std::string folder;
  try {
    folder = PosixPaths().FolderOf(Component().LibraryPath());
  } catch (...) {
    TellHeadless("the library's own folder is unknown, so its desktop agent cannot be found");
    return {};
  }
  const std::string candidates[] = {folder + "/" + kProgramName,
                                    folder + "/" JOTWELL_AGENT_FROM_LIBRARY "/" + kProgramName};
  for (const std::string& candidate : candidates)
    if (IsProgram(candidate)) return candidate;
  for (const std::string& candidate : candidates) {
    if (!Exists(candidate)) continue;
    Tell(candidate, "is not executable");
    return {};
  }
  TellHeadless("no desktop agent at " + candidates[0] + " or " + candidates[1]);
  return {};
}

std::optional<AgentProcess> StartAgent(const std::string& program) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return std::nullopt;
  // The agent gets its end as standard input and output and no other
  // descriptor of the host.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  // The host may ignore or block signals; the agent starts with defaults.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  int failed = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(ends[1]);
  if (failed != 0) {
    ::close(ends[0]);
    Tell(program, "could not start: " + std::string(std::strerror(failed)));
    return std::nullopt;
  }
  if (!ReadyBefore(ends[0], std::chrono::steady_clock::now() + kReadyWait)) {
    ::close(ends[0]);
    Tell(program, StopAgent(pid));
    return std::nullopt;
  }
  return AgentProcess{pid, ends[0]};
}

}  // namespace jotwell::platform::agent
