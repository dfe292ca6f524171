#include "platform/IniText.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace jotwell::platform::ini {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// What would end the written line early, or cut it for the system.
constexpr std::string_view kLineBreakers("\r\n\0", 3);
constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Loops of its own: the library's find_first_not_of makes a call per byte.
std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

// Where the line that starts at `from` ends.
std::size_t LineBreakAt(std::string_view text, std::size_t from) {
  auto end = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                          [](char c) { return c == '\r' || c == '\n'; });
  return static_cast<std::size_t>(end - text.begin());
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// A line's text runs from begin to end; its line end, if any, to next.
struct Line {
  std::size_t begin, end, next;
};

// Lines [first, last) follow the header line; the section before any
// header has none.
struct Section {
  std::size_t header, first, last;
};

// A header's name, or nothing for a line that is no header: it runs from
// `[` to the last `]`, and whatever follows is ignored.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('[')) return std::nullopt;
  std::size_t close = line.rfind(']');
  if (close == kNone) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

class Layout {
 public:
  explicit Layout(std::string_view text) : text_(text) {
    std::size_t at = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    start_ = at;
    while (at < text.size()) {
      std::size_t end = LineBreakAt(text, at);
      std::size_t next = end + (text.substr(end, 2) == "\r\n" ? 2 : end < text.size() ? 1 : 0);
      lines_.push_back({at, end, next});
      at = next;
    }
  }

  // Every section of that name, the one that counts first.
  std::vector<Section> SectionsNamed(std::string_view name) const {
    std::vector<Section> all{{kNone, 0, 0}};
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (!HeaderName(Text(i))) continue;
      all.back().last = i;
      all.push_back({i, i + 1, 0});
    }
    all.back().last = lines_.size();
    std::erase_if(all, [&](const Section& s) { return !SameName(NameOf(s), name); });
    return all;
  }

  std::optional<Section> FindSection(std::string_view name) const {
    std::vector<Section> all = SectionsNamed(name);
    if (all.empty()) return std::nullopt;
    return all.front();
  }

  // The section's lines that name the key, the one that counts first.
  std::vector<std::size_t> KeyLines(const Section& section, std::string_view key) const {
    std::vector<std::size_t> found;
    for (std::size_t i = section.first; i < section.last; ++i) {
      std::size_t equals = Text(i).find('=');
      if (equals != kNone && SameName(Text(i).substr(0, equals), key)) found.push_back(i);
    }
    return found;
  }

  std::string_view Text(std::size_t line) const {
    return text_.substr(lines_[line].begin, lines_[line].end - lines_[line].begin);
  }
  // Where the value starts in the file: after `=` and the blanks that follow.
  std::size_t ValueStart(std::size_t line) const {
    std::string_view text = Text(line);
    std::size_t at = text.find('=') + 1;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return lines_[line].begin + at;
  }
  std::size_t End(std::size_t line) const { return lines_[line].end; }

  // The file's own line end; CR LF for a file that has none yet.
  std::string_view LineEnd() const {
    for (const Line& line : lines_)
      if (line.next > line.end) return text_.substr(line.end, line.next - line.end);
    return "\r\n";
  }

  // Where a line goes after the section's last non-blank line, and whether
  // the line before it lacks a line end.
  std::pair<std::size_t, bool> InsertionPoint(const Section& section) const {
    std::size_t after = section.header;
    for (std::size_t i = section.first; i < section.last; ++i)
      if (!Trim(Text(i)).empty()) after = i;
    if (after == kNone) return {start_, false};
    return {lines_[after].next, lines_[after].next == lines_[after].end};
  }
  std::pair<std::size_t, bool> EndPoint() const {
    return {text_.size(), !lines_.empty() && lines_.back().next == lines_.back().end};
  }

  // Where the section's lines begin and end in the file.
  std::pair<std::size_t, std::size_t> Span(const Section& section) const {
    std::size_t first = section.header == kNone ? section.first : section.header;
    if (first >= section.last) return {start_, start_};
    return {lines_[first].begin, lines_[section.last - 1].next};
  }
  std::pair<std::size_t, std::size_t> Span(std::size_t line) const {
    return {lines_[line].begin, lines_[line].next};
  }

 private:
  std::string_view NameOf(const Section& section) const {
    return section.header == kNone ? std::string_view() : *HeaderName(Text(section.header));
  }

  std::string_view text_;
  std::size_t start_ = 0;
  std::vector<Line> lines_;
};

// A value that reading would trim or unquote is written in quotes.
String Written(std::string_view value) {
  bool quoted = !value.empty() &&
                (IsBlank(value.front()) || IsBlank(value.back()) ||
                 (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  return quoted ? '"' + String(value) + '"' : String(value);
}

String Inserted(std::string_view text, std::pair<std::size_t, bool> at, std::string_view lines,
                std::string_view lineEnd) {
  String result(text.substr(0, at.first));
  if (at.second) result += lineEnd;
  result += lines;
  return result + String(text.substr(at.first));
}

// Appends what follows a removed line. A lone CR would join the line feed
// of a blank line next into one line end, and the blank line would go: that
// line ends in CR LF instead.
void Rejoin(String& result, std::string_view kept) {
  if (kept.starts_with('\n') && result.ends_with('\r')) result += '\r';
  result += kept;
}

// Removes the spans, which come in file order.
String Without(std::string_view text, const std::vector<std::pair<std::size_t, std::size_t>>& spans) {
  String result;
  std::size_t kept = 0;
  for (auto [begin, end] : spans) {
    Rejoin(result, text.substr(kept, begin - kept));
    kept = end;
  }
  Rejoin(result, text.substr(kept));
  return result;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::optional<String> FindValue(std::string_view text, std::string_view section,
                                std::string_view key) {
  Layout file(text);
  std::optional<Section> found = file.FindSection(section);
  if (!found) return std::nullopt;
  std::vector<std::size_t> lines = file.KeyLines(*found, key);
  if (lines.empty()) return std::nullopt;
  std::string_view line = file.Text(lines.front());
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return String(value);
}

Long NumberOf(const std::optional<String>& value, Long fallback) {
  if (!value || value->empty()) return fallback;
  std::string_view digits = Trim(*value);
  bool negative = digits.starts_with('-');
  if (negative || digits.starts_with('+')) digits.remove_prefix(1);
  int base = 10;
  if (digits.starts_with("0x")) base = 16;
  if (digits.starts_with("0b")) base = 2;
  if (digits.starts_with("0o")) base = 8;
  if (base != 10) digits.remove_prefix(2);
  std::uint32_t number = 0;
  for (char c : digits) {
    if (DigitValue(c) >= base) break;
    number = number * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(DigitValue(c));
  }
  return static_cast<Long>(negative ? 0u - number : number);
}

bool CanWrite(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view name = Trim(key);
  // A key written first in a file would lose a leading byte-order mark to
  // the reader.
  return section.find_first_of(kLineBreakers) == kNone && section.find(']') == kNone &&
         key.find_first_of(kLineBreakers) == kNone && key.find('=') == kNone &&
         !name.empty() && !name.starts_with('[') && !name.starts_with(kByteOrderMark) &&
         value.find_first_of(kLineBreakers) == kNone;
}

std::optional<String> WithValue(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view value) {
  if (!CanWrite(section, key, value)) return std::nullopt;
  Layout file(text);
  std::optional<Section> found = file.FindSection(section);
  if (found) {
    std::vector<std::size_t> lines = file.KeyLines(*found, key);
    if (!lines.empty()) {
      std::size_t at = file.ValueStart(lines.front());
      return String(text.substr(0, at)) + Written(value) +
             String(text.substr(file.End(lines.front())));
    }
  }
  std::pair<std::size_t, bool> at = found ? file.InsertionPoint(*found) : file.EndPoint();
  String lineEnd(file.LineEnd());
  // A lone CR before a blank line's line feed would join it into one line end.
  if (lineEnd == "\r" && text.substr(at.first).starts_with('\n')) lineEnd = "\r\n";
  String lines = found ? String() : '[' + String(Trim(section)) + ']' + lineEnd;
  return Inserted(text, at, lines + String(Trim(key)) + '=' + Written(value) + lineEnd, lineEnd);
}

// Every line of the key goes, so that a duplicate never surfaces in its place.
String WithoutKey(std::string_view text, std::string_view section, std::string_view key) {
  Layout file(text);
  std::optional<Section> found = file.FindSection(section);
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  if (found)
    for (std::size_t line : file.KeyLines(*found, key)) spans.push_back(file.Span(line));
  return Without(text, spans);
}

// Every section of the name goes, so that an unread later one never
// surfaces in its place.
String WithoutSection(std::string_view text, std::string_view section) {
  Layout file(text);
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  for (const Section& found : file.SectionsNamed(section)) spans.push_back(file.Span(found));
  return Without(text, spans);
}

}  // namespace jotwell::platform::ini
