// Arbitrary bytes against the INI engine: file content, section, key and
// value go to the reader and to a write or an erase of a real file, and the
// outcome is checked against the engine's read rules,
// modelled here on their own. A broken rule aborts, as a sanitizer report
// does, and prints the case.
//
// Input: section, key and value as FuzzedDataProvider's random-length
// strings (a backslash and the byte after it end one; two backslashes stand
// for one), then the file's bytes; the last byte picks the operation.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniText.h"
#include "platform/ini.h"

namespace {

using namespace jotwell;
namespace fs = std::filesystem;
namespace ini = platform::ini;

// What a failed check shows besides its condition.
std::string shown;

#define CHECK(condition)                                                                  \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "ini_fuzz: check failed: %s\n%s\n", #condition, shown.c_str()); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

// The bytes in C++ escapes.
std::string Escaped(std::string_view bytes) {
  std::string text = "\"";
  for (unsigned char c : bytes) {
    char code[8];
    std::snprintf(code, sizeof code, c == '"' || c == '\\' ? "\\%c" : c >= 32 && c < 127 ? "%c" : "\\x%02X", c);
    text += code;
  }
  return text + '"';
}

platform::IniProfile& Ini() { return platform::Group<platform::IniProfile>::Native(); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Name(std::string_view text) {
  std::string name(Trim(text));
  for (char& c : name) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return name;
}

// The lines, each with its line end, after any byte-order mark.
std::vector<std::string_view> Lines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    end += text.substr(end, 2) == "\r\n" ? 2 : end < text.size() ? 1 : 0;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

bool IsUtf16(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

// The file's text as the rules read it: a UTF-16 file's units decoded to
// UTF-8 behind a UTF-8 mark, which Lines skips as the engine skips theirs.
// Nothing for a damaged UTF-16 file (an odd byte, a lone surrogate), which
// is only checked to keep the bytes no edit concerns.
std::optional<std::string> Modelled(std::string_view bytes) {
  if (!IsUtf16(bytes)) return std::string(bytes);
  if (bytes.size() % 2 != 0) return std::nullopt;
  auto unit = [&](std::size_t at) -> char32_t {
    char32_t first = static_cast<unsigned char>(bytes[at]),
             second = static_cast<unsigned char>(bytes[at + 1]);
    return bytes[0] == '\xFE' ? first << 8 | second : second << 8 | first;
  };
  std::string text = "\xEF\xBB\xBF";
  for (std::size_t at = 2; at < bytes.size(); at += 2) {
    char32_t c = unit(at);
    if (c >= 0xD800 && c < 0xDC00 && at + 2 < bytes.size() && unit(at + 2) >= 0xDC00 &&
        unit(at + 2) < 0xE000) {
      at += 2;
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(at) - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      return std::nullopt;
    }
    static constexpr char32_t kLead[] = {0, 0xC0, 0xE0, 0xF0};
    int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    text += static_cast<char>(kLead[extra] | c >> (6 * extra));
    while (extra-- > 0) text += static_cast<char>(0x80 | (c >> (6 * extra) & 0x3F));
  }
  return text;
}

using Key = std::pair<std::string, std::string>;  // section and key, as compared
using Pairs = std::map<Key, std::string>;

// Every key a reader can find, with its value, by the read rules.
Pairs Readable(std::string_view text) {
  Pairs pairs;
  std::set<std::string> met{""};
  std::optional<std::string> section = "";  // none in a later section of a name met before
  for (std::string_view line : Lines(text)) {
    line = line.substr(0, line.find_first_of("\r\n"));
    std::string_view trimmed = Trim(line);
    if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
      std::string name = Name(trimmed.substr(1, trimmed.rfind(']') - 1));
      section = met.insert(name).second ? std::optional(name) : std::nullopt;
      continue;
    }
    std::size_t equals = line.find('=');
    if (!section || equals == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    pairs.emplace(Key(*section, Name(line.substr(0, equals))), value);  // the first one wins
  }
  return pairs;
}

bool IsMarked(std::string_view text) { return text.starts_with("\xEF\xBB\xBF") || IsUtf16(text); }

bool SameMark(std::string_view a, std::string_view b) {
  return a.starts_with("\xEF\xBB\xBF") == b.starts_with("\xEF\xBB\xBF");
}

// Whether `part` is `whole` with some lines removed, the others as they
// were; but a blank line that came to follow a lone CR may end in CR LF, as
// it must to stay a line, and a file without a mark may start with a blank
// line where its first line would read as one.
bool Removed(std::string_view whole, std::string_view part) {
  std::vector<std::string_view> from = Lines(whole), kept = Lines(part);
  if (!IsMarked(whole) && kept.size() > 1 &&
      kept[0].find_first_not_of("\r\n") == std::string_view::npos &&
      IsMarked(part.substr(kept[0].size())))
    kept.erase(kept.begin());
  auto at = from.begin();
  for (std::string_view line : kept) {
    auto same = [&](std::string_view original) { return original == line || (original == "\n" && line == "\r\n"); };
    if ((at = std::find_if(at, from.end(), same)) == from.end()) return false;
    ++at;
  }
  return SameMark(whole, part);
}

// Whether `after` is `before` with one line replaced (`replaced`), or with
// one or two lines inserted at one place, where a last line without a line
// end may have gained one; every other line as it was.
bool OneEdit(std::string_view before, std::string_view after, bool replaced) {
  std::vector<std::string_view> b = Lines(before), a = Lines(after);
  std::size_t same = 0, end = 0;  // lines alike from the start, from the end
  while (same < b.size() && same < a.size() && b[same] == a[same]) ++same;
  while (end < b.size() - same && end < a.size() - same && b[b.size() - 1 - end] == a[a.size() - 1 - end]) ++end;
  std::size_t gone = b.size() - same - end, added = a.size() - same - end;
  if (!SameMark(before, after) || gone > 1) return false;
  if (replaced) return gone == added;
  if (gone == 1) {
    std::string_view last = b.back(), now = a[same], ending = now.substr(std::min(last.size(), now.size()));
    if (same + 1 != b.size() || last.find_first_of("\r\n") != std::string_view::npos ||
        !now.starts_with(last) || (ending != "\n" && ending != "\r" && ending != "\r\n"))
      return false;
    --added;
  }
  return added == 1 || added == 2;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own for each input's file, on tmpfs where there is one,
// so that the engine's fsync costs little. Made and removed for each input:
// libFuzzer ends without running exit handlers.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") + std::string("/ini_fuzz.XXXXXX");
    CHECK(::mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
  }
  ~Folder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int operation = input.ConsumeIntegralInRange(0, 3);
  const std::string section = input.ConsumeRandomLengthString(64);
  const std::string key = input.ConsumeRandomLengthString(64);
  const std::string value = input.ConsumeRandomLengthString(256);
  const std::string before = input.ConsumeRemainingBytesAsString();
  const Folder folder;
  const std::string file = (folder.path() / "fuzz.ini").string();
  WriteFile(file, before);

  shown = "operation " + std::to_string(operation) + ", section " + Escaped(section) + ", key " +
          Escaped(key) + ", value " + Escaped(value) + "\nbefore: " + Escaped(before);

  // The reader, through the file and directly, finds what the rules give.
  const std::optional<std::string> text = Modelled(before);
  const Pairs was = text ? Readable(*text) : Pairs();
  const Key asked(Name(section), Name(key));
  auto rule = was.find(asked);
  const std::string read = Ini().ReadProfileText(section, key, "\x01", file);
  CHECK(!text || read == (rule == was.end() ? "\x01" : rule->second));
  Ini().ReadProfileNumber(section, key, 7, file);
  std::size_t checked = 0;
  for (const auto& [name, found] : was)
    if (++checked <= 32) CHECK(ini::FindValue(before, name.first, name.second) == found);

  Pairs expected = was;
  bool done;
  if (operation <= 1) {
    done = Ini().WriteProfileText(section, key, value, file);
    std::optional<String> edited = ini::WithValue(before, section, key, value);
    // A UTF-16 file takes only UTF-8.
    CHECK(done == edited.has_value() &&
          (done ? ini::CanWrite(section, key, value)
                : !ini::CanWrite(section, key, value) || IsUtf16(before)));
    if (done) {
      CHECK(ReadFile(file) == *edited);
      CHECK(Ini().ReadProfileText(section, key, "\x01", file) == value);
      expected[asked] = value;
    }
  } else if (operation == 2) {
    done = Ini().EraseProfileKey(section, key, file);
    CHECK(done && ReadFile(file) == ini::WithoutKey(before, section, key));
    expected.erase(asked);
  } else {
    done = Ini().EraseProfileSection(section, file);
    CHECK(done && ReadFile(file) == ini::WithoutSection(before, section));
    std::erase_if(expected, [&](const auto& pair) { return pair.first.first == asked.first; });
  }
  const std::string after = ReadFile(file);
  shown += "\nafter:  " + Escaped(after);
  CHECK(done || after == before);
  // A file keeps its encoding, and a damaged one its odd last byte.
  CHECK(IsUtf16(before) ? after.substr(0, 2) == before.substr(0, 2) : !IsUtf16(after));
  CHECK(!IsUtf16(before) || before.size() % 2 == 0 || after.back() == before.back());
  const std::optional<std::string> now = Modelled(after);
  CHECK(!text || now);
  if (text) {
    // No other key changed, none appeared, none was lost.
    CHECK(Readable(*now) == expected);
    // Every other line stays, in order, with its line end: a write replaces
    // the key's line or adds lines (the key, maybe its header), an erase
    // only removes lines.
    if (operation <= 1) CHECK(OneEdit(*text, *now, !done || rule != was.end()));
    else CHECK(Removed(*text, *now));
  }
  // The write left no copy behind.
  CHECK(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()) == 1);
  return 0;
}
