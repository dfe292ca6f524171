#include "platform/agent/AgentLink.h"

#include <glib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/agent/AgentProcess.h"
#include "platform/posix/Environment.h"
#include "platform/posix/Retry.h"

namespace jotwell::platform::agent {

using agent_protocol::Message;
using posix::RetryOnInterrupt;

struct AgentLink::Request::Mailbox {
  long id = 0;
  unsigned generation = 0;
  std::deque<Message> messages;
  bool lost = false;
  // Its thread waits in the default GLib main context.
  bool wakesMainContext = false;
};

struct AgentLink::Shared {
  enum class State { NotStarted, Running, Unavailable };

  std::mutex mutex;  // everything below but the socket's use
  std::condition_variable arrived;
  State state = State::NotStarted;
  unsigned generation = 0;
  int socket = -1;
  pid_t pid = 0;
  long lastRequest = 0;
  std::map<long, Request::Mailbox*> mailboxes;
  // One message at a time on the socket; held while the socket is closed.
  std::mutex writing;

  bool EnsureRunning();
  void Write(unsigned forGeneration, const Message& message);
  void Read(unsigned forGeneration, int from);
  void Deliver(unsigned forGeneration, Message message);
  void Lost(unsigned forGeneration);
  void ForgetInChild();
};

namespace {

bool DisplayNamed() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = posix::EnvironmentValue(name);
    if (value && *value) return true;
  }
  return false;
}

// An agent in a set-ID process would run with the host's rights in its
// caller's environment, which chooses the toolkit's modules and settings.
bool MayStartAgent() {
  if (posix::RunsSetId()) {
    TellHeadless("the desktop agent is not started in a set-ID process");
    return false;
  }
  if (!DisplayNamed()) {
    TellHeadless("no display is named (DISPLAY and WAYLAND_DISPLAY are unset)");
    return false;
  }
  return true;
}

}  // namespace

bool AgentLink::Shared::EnsureRunning() {
  if (state == State::Running) return true;
  if (state == State::Unavailable) return false;
  std::string program = MayStartAgent() ? FindAgentProgram() : std::string();
  std::optional<AgentProcess> started;
  if (!program.empty()) started = StartAgent(program);
  if (!started) {
    state = State::Unavailable;
    return false;
  }
  state = State::Running;
  socket = started->socket;
  pid = started->pid;
  unsigned current = ++generation;
  std::thread([this, current, from = socket] { Read(current, from); }).detach();
  return true;
}

void AgentLink::Shared::Write(unsigned forGeneration, const Message& message) {
  std::string line = agent_protocol::Format(message);
  std::lock_guard writer(writing);
  int to;
  {
    std::lock_guard lock(mutex);
    if (generation != forGeneration || state != State::Running) return;
    to = socket;
  }
  // A dead agent must not take the host with it: no SIGPIPE.
  for (size_t sent = 0; sent < line.size();) {
    ssize_t n = RetryOnInterrupt(
        [&] { return ::send(to, line.data() + sent, line.size() - sent, MSG_NOSIGNAL); });
    if (n <= 0) return;  // the reader sees the agent gone
    sent += static_cast<size_t>(n);
  }
}

void AgentLink::Shared::Read(unsigned forGeneration, int from) {
  std::string buffer;
  char chunk[4096];
  for (;;) {
    ssize_t n = RetryOnInterrupt([&] { return ::read(from, chunk, sizeof chunk); });
    if (n <= 0) break;
    buffer.append(chunk, static_cast<size_t>(n));
    size_t start = 0;
    for (size_t end; (end = buffer.find('\n', start)) != std::string::npos; start = end + 1)
      if (auto message = agent_protocol::Parse(std::string_view(buffer).substr(start, end - start)))
        Deliver(forGeneration, std::move(*message));
    buffer.erase(0, start);
  }
  Lost(forGeneration);
}

void AgentLink::Shared::Deliver(unsigned forGeneration, Message message) {
  std::lock_guard lock(mutex);
  auto found = mailboxes.find(message.request);
  if (found == mailboxes.end() || found->second->generation != forGeneration) return;
  found->second->messages.push_back(std::move(message));
  if (found->second->wakesMainContext) g_main_context_wakeup(g_main_context_default());
  arrived.notify_all();
}

void AgentLink::Shared::Lost(unsigned forGeneration) {
  std::lock_guard writer(writing);
  std::lock_guard lock(mutex);
  if (generation != forGeneration || state != State::Running) return;
  ::close(socket);
  socket = -1;
  std::string how = StopAgent(pid);
  std::string line = "jotwell: the desktop agent " + how + "; the next window starts another\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  pid = 0;
  state = State::NotStarted;
  for (auto& [id, mailbox] : mailboxes) {
    if (mailbox->generation != forGeneration) continue;
    mailbox->lost = true;
    if (mailbox->wakesMainContext) g_main_context_wakeup(g_main_context_default());
  }
  arrived.notify_all();
}

AgentLink::AgentLink() : shared_(std::make_unique<Shared>()) {}

namespace {

AgentLink::Shared* forkSafe = nullptr;

}  // namespace

// A child of a forking host has no reader thread and must not answer for
// its parent's agent: it starts one of its own when it needs one.
void AgentLink::Shared::ForgetInChild() {
  if (socket >= 0) ::close(socket);
  socket = -1;
  pid = 0;
  state = State::NotStarted;
  mailboxes.clear();
}

AgentLink& AgentLink::Instance() {
  // Never destroyed: its reader thread may outlive the statics.
  static AgentLink* link = [] {
    auto* made = new AgentLink;
    forkSafe = made->shared_.get();
    ::pthread_atfork([] { forkSafe->writing.lock(), forkSafe->mutex.lock(); },
                     [] { forkSafe->mutex.unlock(), forkSafe->writing.unlock(); },
                     [] {
                       forkSafe->ForgetInChild();
                       forkSafe->mutex.unlock(), forkSafe->writing.unlock();
                     });
    return made;
  }();
  return *link;
}

std::unique_ptr<AgentLink::Request> AgentLink::Begin(std::string_view verb,
                                                     std::vector<std::string> arguments) {
  auto mailbox = std::make_unique<Request::Mailbox>();
  {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->EnsureRunning()) return nullptr;
    mailbox->id = ++shared_->lastRequest;
    mailbox->generation = shared_->generation;
    shared_->mailboxes[mailbox->id] = mailbox.get();
  }
  shared_->Write(mailbox->generation, {mailbox->id, std::string(verb), std::move(arguments)});
  return std::unique_ptr<Request>(new Request(*shared_, std::move(mailbox)));
}

bool AgentLink::Post(std::string_view verb, std::vector<std::string> arguments) {
  unsigned current;
  {
    std::lock_guard lock(shared_->mutex);
    if (!shared_->EnsureRunning()) return false;
    current = shared_->generation;
  }
  shared_->Write(current, {0, std::string(verb), std::move(arguments)});
  return true;
}

int AgentLink::AgentId() {
  std::lock_guard lock(shared_->mutex);
  return shared_->state == Shared::State::Running ? shared_->pid : 0;
}

AgentLink::Request::Request(Shared& shared, std::unique_ptr<Mailbox> mailbox)
    : shared_(shared), mailbox_(std::move(mailbox)) {}

AgentLink::Request::~Request() {
  std::lock_guard lock(shared_.mutex);
  shared_.mailboxes.erase(mailbox_->id);
}

std::optional<Message> AgentLink::Request::Next() {
  std::unique_lock lock(shared_.mutex);
  Mailbox& mailbox = *mailbox_;
  auto ready = [&] { return !mailbox.messages.empty() || mailbox.lost; };
  GMainContext* context = g_main_context_default();
  if (g_main_context_is_owner(context)) {
    mailbox.wakesMainContext = true;
    while (!ready()) {
      lock.unlock();
      g_main_context_iteration(context, TRUE);
      lock.lock();
    }
    mailbox.wakesMainContext = false;
  } else {
    shared_.arrived.wait(lock, ready);
  }
  if (mailbox.messages.empty()) return std::nullopt;
  Message message = std::move(mailbox.messages.front());
  mailbox.messages.pop_front();
  return message;
}

void AgentLink::Request::Send(std::string_view verb, std::vector<std::string> arguments) {
  shared_.Write(mailbox_->generation, {mailbox_->id, std::string(verb), std::move(arguments)});
}

}  // namespace jotwell::platform::agent
