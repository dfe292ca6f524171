#include "platform/IniText.h"

#include <cstdint>
#include <utility>

#include "platform/IniUnits.h"

namespace jotwell::platform::ini {
namespace {

// What would end the written line early, or cut it for the system.
constexpr std::string_view kLineBreakers("\r\n\0", 3);
constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char32_t c) { return c == ' ' || c == '\t'; }
bool IsQuote(char32_t c) { return c == '"' || c == '\''; }
char32_t Lower(char32_t c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Units [begin, end) of a text.
struct Span {
  std::size_t begin, end;
  bool empty() const { return begin == end; }
};

Span Trim(const Units& text, Span span) {
  while (span.begin < span.end && IsBlank(text[span.begin])) ++span.begin;
  while (span.begin < span.end && IsBlank(text[span.end - 1])) --span.end;
  return span;
}

std::size_t Find(const Units& text, Span span, char32_t c) {
  for (std::size_t at = span.begin; at < span.end; ++at)
    if (text[at] == c) return at;
  return kNone;
}

std::size_t FindLast(const Units& text, Span span, char32_t c) {
  for (std::size_t at = span.end; at > span.begin; --at)
    if (text[at - 1] == c) return at - 1;
  return kNone;
}

bool SameName(const Units& text, Span name, const Units& asked) {
  name = Trim(text, name);
  Span wanted = Trim(asked, {0, asked.size()});
  if (name.end - name.begin != wanted.end - wanted.begin) return false;
  for (std::size_t i = 0; i < name.end - name.begin; ++i)
    if (Lower(text[name.begin + i]) != Lower(asked[wanted.begin + i])) return false;
  return true;
}

// A line's text runs from begin to end; its line end, if any, to next.
struct Line {
  std::size_t begin, end, next;
  Span Text() const { return {begin, end}; }
};

// The lines of a stretch of text that starts at a line, one at a time.
class Lines {
 public:
  Lines(const Units& text, Span within) : text_(text), at_(within.begin), end_(within.end) {}
  std::optional<Line> Next() {
    if (at_ >= end_) return std::nullopt;
    std::size_t end = text_.LineBreakAt(at_), next = end;
    if (end < text_.size())
      next += text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n' ? 2 : 1;
    return Line{std::exchange(at_, next), end, next};
  }

 private:
  const Units& text_;
  std::size_t at_, end_;
};

// A header's name, or nothing for a line that is no header: it runs from
// `[` to the last `]`, and whatever follows is ignored.
std::optional<Span> HeaderName(const Units& text, Span line) {
  line = Trim(text, line);
  if (line.empty() || text[line.begin] != '[') return std::nullopt;
  std::size_t close = FindLast(text, line, ']');
  if (close == kNone) return std::nullopt;
  return Span{line.begin + 1, close};
}

bool NamesKey(const Units& text, Span line, const Units& key) {
  std::size_t equals = Find(text, line, '=');
  return equals != kNone && SameName(text, {line.begin, equals}, key);
}

// Where the value starts: after `=` and the blanks that follow.
std::size_t ValueStart(const Units& text, Span line) {
  std::size_t at = Find(text, line, '=') + 1;
  while (at < line.end && IsBlank(text[at])) ++at;
  return at;
}

// The header line (none for the lines before any header), and the lines
// after it.
struct Section {
  std::optional<Line> header;
  Span body;
};

// The first section of the name, the only one a reader sees.
std::optional<Section> FirstSection(const Units& text, const Units& name) {
  std::optional<Section> found;
  if (SameName(text, {0, 0}, name)) found = Section{std::nullopt, {0, text.size()}};
  Lines lines(text, {0, text.size()});
  while (std::optional<Line> line = lines.Next()) {
    std::optional<Span> header = HeaderName(text, line->Text());
    if (!header) continue;
    if (found) {
      found->body.end = line->begin;
      return found;
    }
    if (SameName(text, *header, name)) found = Section{line, {line->next, text.size()}};
  }
  return found;
}

// A value that reading would trim or unquote is written in quotes.
String Written(std::string_view value) {
  bool quoted = !value.empty() &&
                (IsBlank(value.front()) || IsBlank(value.back()) ||
                 (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  return quoted ? '"' + String(value) + '"' : String(value);
}

// The file with units [replaced) replaced by `bytes`.
String Spliced(const Units& text, Span replaced, std::string_view bytes) {
  String result;
  result.reserve(text.FileSize() + bytes.size());
  result += text.Before(replaced.begin);
  result += bytes;
  result += text.From(replaced.end);
  return result;
}

// The file's own line end; CR LF for a file that has none yet.
std::string_view LineEnd(const Units& text) {
  std::size_t end = text.LineBreakAt(0);
  if (end == text.size()) return "\r\n";
  if (text[end] == '\n') return "\n";
  return end + 1 < text.size() && text[end + 1] == '\n' ? "\r\n" : "\r";
}

// The file with spans of units cut out, given in file order. A lone CR left
// before a line feed would join it into one line end, and the blank line
// would go: that line ends in CR LF instead.
class Cut {
 public:
  explicit Cut(const Units& text) : text_(text) {
    result_.reserve(text.FileSize());
    result_ += text.Before(0);
  }
  void Remove(Span span) {
    Keep(span.begin);
    kept_ = span.end;
  }
  String Done() && {
    Keep(text_.size());
    result_ += text_.From(text_.size());
    // A line that came to lead a file without a mark would be read as one.
    if (text_.Before(0).empty() && !Units::OfFile(result_).Before(0).empty())
      result_.insert(0, LineEnd(text_));
    return std::move(result_);
  }

 private:
  void Keep(std::size_t end) {
    if (kept_ == end) return;
    if (endsInCr_ && text_[kept_] == '\n') result_ += *text_.Encoded("\r");
    result_ += text_.Bytes(kept_, end);
    endsInCr_ = text_[end - 1] == '\r';
  }

  const Units& text_;
  String result_;
  std::size_t kept_ = 0;
  bool endsInCr_ = false;
};

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::optional<String> FindValue(std::string_view file, std::string_view section,
                                std::string_view key) {
  Units text = Units::OfFile(file);
  std::optional<String> sectionUnits = text.Encoded(section), keyUnits = text.Encoded(key);
  if (!sectionUnits || !keyUnits) return std::nullopt;
  std::optional<Section> found = FirstSection(text, text.Over(*sectionUnits));
  if (!found) return std::nullopt;
  Lines lines(text, found->body);
  while (std::optional<Line> line = lines.Next()) {
    if (!NamesKey(text, line->Text(), text.Over(*keyUnits))) continue;
    Span value = Trim(text, {ValueStart(text, line->Text()), line->end});
    if (value.end - value.begin >= 2 && IsQuote(text[value.begin]) &&
        text[value.end - 1] == text[value.begin])
      value = {value.begin + 1, value.end - 1};
    return text.Utf8(value.begin, value.end);
  }
  return std::nullopt;
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
  // A key written first in a file would be read as the file's byte-order
  // mark, or as the mark of another encoding.
  bool marked = !Units::OfFile(name).Before(0).empty();
  return section.find_first_of(kLineBreakers) == kNone && section.find(']') == kNone &&
         key.find_first_of(kLineBreakers) == kNone && key.find('=') == kNone && !name.empty() &&
         !name.starts_with('[') && !marked && value.find_first_of(kLineBreakers) == kNone;
}

std::optional<String> WithValue(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view value) {
  if (!CanWrite(section, key, value)) return std::nullopt;
  Units text = Units::OfFile(file);
  std::optional<String> sectionUnits = text.Encoded(section), keyUnits = text.Encoded(key);
  if (!sectionUnits || !keyUnits) return std::nullopt;
  std::optional<Section> found = FirstSection(text, text.Over(*sectionUnits));
  // Where the new lines go: after the section's last non-blank line, or at
  // the end of the file for a new section; and whether the line before them
  // lacks a line end.
  std::size_t at = text.size();
  bool unended = at > 0 && text[at - 1] != '\r' && text[at - 1] != '\n';
  if (found) {
    std::optional<Line> after = found->header;
    Lines lines(text, found->body);
    while (std::optional<Line> line = lines.Next()) {
      if (NamesKey(text, line->Text(), text.Over(*keyUnits))) {
        std::optional<String> written = text.Encoded(Written(value));
        if (!written) return std::nullopt;
        return Spliced(text, {ValueStart(text, line->Text()), line->end}, *written);
      }
      if (!Trim(text, line->Text()).empty()) after = line;
    }
    at = after ? after->next : 0;
    unended = after && after->next == after->end;
  }
  String lineEnd(LineEnd(text));
  // A lone CR before a blank line's line feed would join it into one line end.
  if (lineEnd == "\r" && at < text.size() && text[at] == '\n') lineEnd = "\r\n";
  String lines = unended ? lineEnd : String();
  if (!found) lines += '[' + String(Trim(section)) + ']' + lineEnd;
  std::optional<String> inserted =
      text.Encoded(lines + String(Trim(key)) + '=' + Written(value) + lineEnd);
  if (!inserted) return std::nullopt;
  return Spliced(text, {at, at}, *inserted);
}

// Every line of the key goes, so that a duplicate never surfaces in its place.
String WithoutKey(std::string_view file, std::string_view section, std::string_view key) {
  Units text = Units::OfFile(file);
  Cut cut(text);
  std::optional<String> sectionUnits = text.Encoded(section), keyUnits = text.Encoded(key);
  std::optional<Section> found;
  if (sectionUnits && keyUnits) found = FirstSection(text, text.Over(*sectionUnits));
  if (found) {
    Lines lines(text, found->body);
    while (std::optional<Line> line = lines.Next())
      if (NamesKey(text, line->Text(), text.Over(*keyUnits))) cut.Remove({line->begin, line->next});
  }
  return std::move(cut).Done();
}

// Every section of the name goes, so that an unread later one never
// surfaces in its place.
String WithoutSection(std::string_view file, std::string_view section) {
  Units text = Units::OfFile(file);
  Cut cut(text);
  std::optional<String> sectionUnits = text.Encoded(section);
  if (!sectionUnits) return std::move(cut).Done();
  Units name = text.Over(*sectionUnits);
  std::optional<std::size_t> from;  // where the section of the name now open began
  if (SameName(text, {0, 0}, name)) from = 0;
  Lines lines(text, {0, text.size()});
  while (std::optional<Line> line = lines.Next()) {
    std::optional<Span> header = HeaderName(text, line->Text());
    if (!header) continue;
    if (from) cut.Remove({*from, line->begin});
    from = SameName(text, *header, name) ? std::optional(line->begin) : std::nullopt;
  }
  if (from) cut.Remove({*from, text.size()});
  return std::move(cut).Done();
}

}  // namespace jotwell::platform::ini
