#include "platform/agent/AgentDesktop.h"

#include <charconv>
#include <optional>

#include "platform/agent/AgentLink.h"
#include "platform/posix/DefaultApplication.h"

namespace jotwell::platform::agent {
namespace {

using namespace agent_protocol;
using Request = AgentLink::Request;

// "button" answers pass the agent's number straight to the window.
static_assert(ReportWindow::kAbortButton == kButtonAbort &&
              ReportWindow::kRetryButton == kButtonRetry &&
              ReportWindow::kIgnoreButton == kButtonIgnore &&
              ReportWindow::kCopyButton == kButtonCopy);

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
  for (size_t i = 0; i < kAboutRoles.size(); ++i)
    if (kAboutRoles[i] == message.arguments.front()) return static_cast<AboutWindow::Role>(i);
  return std::nullopt;
}

// Hands one thing the user did to the About window's handlers.
void Dispatch(AboutWindow& window, const Message& message) {
  const String& where = message.arguments.empty() ? String() : message.arguments.front();
  if (message.verb == kVerbClick && where == kAreaBackground) {
    window.Clicked(AboutWindow::Area::Background);
  } else if (message.verb == kVerbClick && where == kAreaFrame) {
    window.Clicked(AboutWindow::Area::Frame);
  } else if (auto role = RoleIn(message); role && message.verb == kVerbClick) {
    window.Clicked(*role);
  } else if (role && message.verb == kVerbDoubleClick) {
    window.DoubleClicked(*role);
  } else if (auto code = NumberIn(message); code && message.verb == kVerbKey) {
    window.KeyPressed(*code);
  }
}

}  // namespace

void AgentDesktop::ShowMessageBox(const String& title, const std::vector<String>& promptLines,
                                  MessageIcon icon) {
  std::string_view iconWord = icon == MessageIcon::Critical ? kIconCritical : kIconInformation;
  std::vector<std::string> arguments{title, std::string(iconWord)};
  arguments.insert(arguments.end(), promptLines.begin(), promptLines.end());
  auto request = AgentLink::Instance().Begin(kVerbBox, std::move(arguments));
  if (!request) return headless_.ShowMessageBox(title, promptLines, icon);
  while (auto message = request->Next())
    if (message->verb == kVerbClosed) return;
  // The agent died before the user closed the box: nobody may have read it.
  headless_.ShowMessageBox(title, promptLines, icon);
}

void AgentDesktop::ShowReport(ReportWindow& window) {
  auto request = AgentLink::Instance().Begin(kVerbReport, {window.Text()});
  if (!request) return headless_.ShowReport(window);
  ShownReport shown(window, *request);
  for (;;) {
    std::optional<Message> message = request->Next();
    if (!message) {
      // The agent died under the window: nobody can answer it.
      window.PressButton(ReportWindow::kAbortButton);
      return;
    }
    if (message->verb == kVerbClosed) return;
    std::optional<Integer> button = NumberIn(*message);
    if (message->verb != kVerbButton || !button) continue;
    window.PressButton(*button);
    if (!window.IsLoaded()) break;
  }
  request->Send(kVerbEnd);
}

void AgentDesktop::RefreshReport(ReportWindow& window) {
  for (auto& [shown, request] : shownReports)
    if (shown == &window) return request->Send(kVerbText, {window.Text()});
  headless_.RefreshReport(window);
}

void AgentDesktop::ShowAbout(AboutWindow& window) {
  std::vector<std::string> texts(kAboutRoles.size());
  for (const AboutWindow::Label& label : window.Labels())
    texts.at(static_cast<size_t>(label.role)) = label.text;
  auto request = AgentLink::Instance().Begin(kVerbAbout, std::move(texts));
  if (!request) return headless_.ShowAbout(window);
  while (window.IsLoaded()) {
    std::optional<Message> message = request->Next();
    if (!message || message->verb == kVerbClosed) return;
    Dispatch(window, *message);
  }
  request->Send(kVerbEnd);
}

void AgentDesktop::SetClipboardText(const String& text) {
  if (!AgentLink::Instance().Post(kVerbClipboard, {text})) headless_.SetClipboardText(text);
}

void AgentDesktop::PlayExclamation() {
  AgentLink::Instance().Post(kVerbSound, {std::string(kSoundExclamation)});
}

void AgentDesktop::Beep() { AgentLink::Instance().Post(kVerbSound, {std::string(kSoundBell)}); }

void AgentDesktop::Open(const String& verb, const String& file, const String&,
                        const String& directory, Long) {
  posix::OpenWithDefaultApplication(verb, file, directory);
}

}  // namespace jotwell::platform::agent
