// The line protocol between the library and its desktop agent,
// jotwell-desktop. The library starts the agent with one end of a socket
// pair as the agent's standard input and standard output, and keeps the
// other end: the agent reads the library's messages on its standard input
// and answers on its standard output.
//
// A message is one line: fields separated by single blanks, ended by a line
// feed. The first field is the number of the request the message belongs
// to (0 for a message that belongs to none), the second its verb, the rest
// its arguments. Every field is escaped: each byte outside printable ASCII,
// the blank and "%" itself become "%" and two hex digits. Any bytes (line
// breaks, NULs, invalid UTF-8) therefore cross as data, never as structure,
// and nothing on either side ever hands them to a shell.
//
// Library to agent:
//   N box TITLE critical|information LINE...
//                     a message box with an OK button; answered "N closed"
//   N report TEXT     the report window; answered "N button I" for each
//                     button the user presses (a ReportButton), or
//                     "N closed" when the user closes the window without
//                     a choice
//   N text TEXT       report N is shown: its text is replaced
//   N about TEXT...   the About window, one text per role in kAboutRoles
//                     order; answered "N click ROLE|background|frame",
//                     "N dblclick ROLE", "N key CODE" (a key that produces
//                     the character CODE), or "N closed"
//   N end             window N is unloaded: the agent destroys it
//   0 clipboard TEXT  the clipboard offers TEXT until someone else's copy
//   0 sound EVENT     plays EVENT of the sound theme
// Agent to library:
//   0 ready           the display is open; sent once, first
#pragma once

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jotwell::agent_protocol {

inline constexpr std::string_view kVerbBox = "box";
inline constexpr std::string_view kVerbReport = "report";
inline constexpr std::string_view kVerbText = "text";
inline constexpr std::string_view kVerbAbout = "about";
inline constexpr std::string_view kVerbEnd = "end";
inline constexpr std::string_view kVerbClipboard = "clipboard";
inline constexpr std::string_view kVerbSound = "sound";
inline constexpr std::string_view kVerbReady = "ready";
inline constexpr std::string_view kVerbClosed = "closed";
inline constexpr std::string_view kVerbButton = "button";
inline constexpr std::string_view kVerbClick = "click";
inline constexpr std::string_view kVerbDoubleClick = "dblclick";
inline constexpr std::string_view kVerbKey = "key";

// A box's icon.
inline constexpr std::string_view kIconCritical = "critical";
inline constexpr std::string_view kIconInformation = "information";

// The About window's places outside its labels that answer clicks.
inline constexpr std::string_view kAreaBackground = "background";
inline constexpr std::string_view kAreaFrame = "frame";

// The report window's buttons, as "button" answers number them.
enum ReportButton : int { kButtonAbort = 0, kButtonRetry = 1, kButtonIgnore = 2, kButtonCopy = 3 };

// The About window's labels, in the order of AboutWindow::Role.
inline constexpr std::array<std::string_view, 6> kAboutRoles = {
    "title", "kind", "homepage", "platform", "version", "maker"};

inline constexpr std::string_view kSoundExclamation = "dialog-warning";
inline constexpr std::string_view kSoundBell = "bell";

inline std::string Escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(text.size());
  for (unsigned char byte : text) {
    if (byte > ' ' && byte < 0x7F && byte != '%') {
      escaped += static_cast<char>(byte);
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0xF];
    }
  }
  return escaped;
}

// nullopt for a field that no Escape made.
inline std::optional<std::string> Unescape(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      text += field[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= field.size()) return std::nullopt;
    auto [end, error] = std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16);
    if (error != std::errc() || end != field.data() + i + 3) return std::nullopt;
    text += static_cast<char>(value);
    i += 2;
  }
  return text;
}

struct Message {
  long request = 0;
  std::string verb;
  std::vector<std::string> arguments;
};

// The line for `message`, line feed included.
inline std::string Format(const Message& message) {
  std::string line = std::to_string(message.request) + " " + Escape(message.verb);
  for (const std::string& argument : message.arguments) line += " " + Escape(argument);
  return line + "\n";
}

// The message on `line` (without its line feed); nullopt for a line no
// Format made.
inline std::optional<Message> Parse(std::string_view line) {
  std::vector<std::string> fields;
  for (size_t start = 0;;) {
    size_t blank = line.find(' ', start);
    std::optional<std::string> field = Unescape(line.substr(start, blank - start));
    if (!field) return std::nullopt;
    fields.push_back(std::move(*field));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  Message message;
  const std::string& number = fields[0];
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), message.request);
  if (fields.size() < 2 || error != std::errc() || end != number.data() + number.size())
    return std::nullopt;
  message.verb = std::move(fields[1]);
  message.arguments.assign(std::make_move_iterator(fields.begin() + 2),
                           std::make_move_iterator(fields.end()));
  return message;
}

}  // namespace jotwell::agent_protocol
