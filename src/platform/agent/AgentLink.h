// The host's one link to its desktop agent: started on first need,
// started again after it died, given up for the rest of the process when
// it cannot start. Requests from any number of threads may be in flight;
// each thread waits for the messages of its own request.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AgentProtocol.h"

namespace jotwell::platform::agent {

class AgentLink {
 public:
  class Request;

  // The process's link.
  static AgentLink& Instance();

  // Sends a new request, starting the agent if none runs. nullptr when
  // there is no agent and none can be started.
  std::unique_ptr<Request> Begin(std::string_view verb, std::vector<std::string> arguments);
  // Sends a message that belongs to no request; false when there is no
  // agent and none can be started.
  bool Post(std::string_view verb, std::vector<std::string> arguments);

  // The running agent's process id, 0 when none runs.
  int AgentId();

  struct Shared;

 private:
  AgentLink();
  std::unique_ptr<Shared> shared_;
};

class AgentLink::Request {
 public:
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;
  ~Request();

  // Waits for the agent's next message about this request; nullopt once
  // the agent has gone. While it waits, a thread that owns the default
  // GLib main context keeps dispatching it, so a host's windows stay
  // alive.
  std::optional<agent_protocol::Message> Next();
  // Sends another message about this request; lost when the agent has gone.
  void Send(std::string_view verb, std::vector<std::string> arguments = {});

  struct Mailbox;

 private:
  friend class AgentLink;
  Request(Shared& shared, std::unique_ptr<Mailbox> mailbox);

  Shared& shared_;
  std::unique_ptr<Mailbox> mailbox_;
};

}  // namespace jotwell::platform::agent
