#include "platform/agent/AgentDesktop.h"

#include <charconv>
#include <optional>

#include "platform/agent/AgentLink.h"
#include "platform/posix/DefaultApplication.h"

namespace jotwell::platform::agent {
namespace {

using agent_protocol::Message;
using Request = AgentLink::Request;

// The report windows this thread shows, innermost last: a second report
// on the same thread replaces the text of the one shown.
thread_local std::vector<std::pair<const ReportWindow*, Request*>> shownReports;

struct ShownReport {
  ShownReport(const ReportWindow& window, Request& request) {
    shownReports.emplace_back(&window, &request);
  }
  ~ShownReport() { shownReports.pop_back(); }
};

std::optional<Integer> NumberIn(const Message& message) {
  if (message.arguments.empty()) return std::nullopt;
  const std::string& text = message.arguments.front();
  Integer number = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

std::optional<AboutWindow::Role> RoleIn(const Message& message) {
  if (message.arguments.empty()) return std::nullopt;
  const auto& roles = agent_protocol::kAboutRoles;
  for (size_t i = 0; i < roles.size(); ++i)
    if (roles[i] == message.arguments.front()) return static_cast<AboutWindow::Role>(i);
  return std::nullopt;
}

// Hands one thing the user did to the About window's handlers.
void Dispatch(AboutWindow& window, const Message& message) {
  const String& where = message.arguments.empty() ? String() : message.arguments.front();
  if (message.verb == "click" && where == "background") {
    window.Clicked(AboutWindow::Area::Background);
  } else if (message.verb == "click" && where == "frame") {
    window.Clicked(AboutWindow::Area::Frame);
  } else if (auto role = RoleIn(message); role && message.verb == "click") {
    window.Clicked(*role);
  } else if (role && message.verb == "dblclick") {
    window.DoubleClicked(*role);
  } else if (auto code = NumberIn(message); code && message.verb == "key") {
    window.KeyPressed(*code);
  }
}

}  // namespace

void AgentDesktop::ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                                  MessageIcon icon) {
  std::vector<std::string> arguments{title, icon == MessageIcon::Critical ? "critical" : "information"};
  arguments.insert(arguments.end(), promptLines.begin(), promptLines.end());
  auto request = AgentLink::Instance().Begin("box", std::move(arguments));
  if (!request) return headless_.ShowMessageBox(title, promptLines, icon);
  while (auto message = request->Next())
    if (message->verb == "closed") return;
}

void AgentDesktop::ShowReport(ReportWindow& window) {
  auto request = AgentLink::Instance().Begin("report", {window.Text()});
  if (!request) return headless_.ShowReport(window);
  ShownReport shown(window, *request);
  for (;;) {
    std::optional<Message> message = request->Next();
    if (!message) {
      // The agent died under the window: nobody can answer it.
      window.PressButton(ReportWindow::kAbortButton);
      return;
    }
    if (message->verb == "closed") return;
    std::optional<Integer> button = NumberIn(*message);
    if (message->verb != "button" || !button) continue;
    window.PressButton(*button);
    if (!window.IsLoaded()) break;
  }
  request->Send("end");
}

void AgentDesktop::RefreshReport(ReportWindow& window) {
  for (auto& [shown, request] : shownReports)
    if (shown == &window) return request->Send("text", {window.Text()});
  headless_.RefreshReport(window);
}

void AgentDesktop::ShowAbout(AboutWindow& window) {
  std::vector<std::string> texts(agent_protocol::kAboutRoles.size());
  for (const AboutWindow::Label& label : window.Labels())
    texts.at(static_cast<size_t>(label.role)) = label.text;
  auto request = AgentLink::Instance().Begin("about", std::move(texts));
  if (!request) return headless_.ShowAbout(window);
  while (window.IsLoaded()) {
    std::optional<Message> message = request->Next();
    if (!message || message->verb == "closed") return;
    Dispatch(window, *message);
  }
  request->Send("end");
}

void AgentDesktop::SetClipboardText(const String& text) {
  if (!AgentLink::Instance().Post("clipboard", {text})) headless_.SetClipboardText(text);
}

void AgentDesktop::PlayExclamation() {
  AgentLink::Instance().Post("sound", {std::string(agent_protocol::kSoundExclamation)});
}

void AgentDesktop::Beep() { AgentLink::Instance().Post("sound", {std::string(agent_protocol::kSoundBell)}); }

void AgentDesktop::Open(const String& verb, const String& file, const String&,
                        const String& directory, Long) {
  posix::OpenWithDefaultApplication(verb, file, directory);
}

}  // namespace jotwell::platform::agent
