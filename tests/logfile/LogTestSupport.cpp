#include "LogTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/locale.h"

namespace jotwell::test {
namespace {

int OpenDescriptors() {
  auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<int>(std::distance(begin(entries), end(entries)));
}

std::string DatePattern() {
  std::string separator;
  for (char c : platform::UserLocale().DateSeparator()) {
    if (std::strchr("\\^$.|?*+()[]{}", c)) separator += '\\';
    separator += c;
  }
  return "\\d\\d" + separator + "\\d\\d" + separator + "\\d{4}";
}

}  // namespace

void LogTest::SetUp() {
  ScriptedDesktopTest::SetUp();
  book = std::make_unique<JotBook>();
  book->LogFileName(logPath);
  book->Advise(recorder);
}

std::vector<std::string> LogTest::Boxes() const {
  std::vector<std::string> texts;
  for (const auto& entry : desktop->Shown(testing::ScriptedDesktop::Kind::MessageBox))
    texts.push_back(entry.text);
  return texts;
}

std::vector<std::string> LogTest::LogLines() const {
  std::string bytes = ReadFile(logPath);
  EXPECT_TRUE(bytes.ends_with("\r\n")) << bytes;
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

std::string LogTest::Outcome(const std::function<void()>& call) {
  recorder.errors.clear();
  size_t boxesBefore = Boxes().size();
  int descriptorsBefore = OpenDescriptors();
  call();
  std::string events;
  for (Integer number : recorder.errors) events += std::to_string(number) + " ";
  std::string boxes;
  for (size_t i = boxesBefore; i < Boxes().size(); ++i) boxes += Boxes()[i] + " | ";
  return "events " + events + "| boxes " + boxes + "descriptors left " +
         std::to_string(OpenDescriptors() - descriptorsBefore) + " | depth " +
         std::to_string(ErrorManager().CallDepth()) + " | successes " +
         std::to_string(recorder.successes);
}

std::string LogTest::Failed(Integer number, const std::string& firstLine) const {
  return "events " + std::to_string(number) + " | boxes " +
         FileErrorBox(firstLine, book->LogFileName()) +
         " | descriptors left 0 | depth 0 | successes 0";
}

std::string FileErrorBox(const std::string& firstLine, const std::string& path) {
  return firstLine + "\r\nUnable to open " + path + " on the local drive.\r\n" + kConsult;
}

std::regex StartLine() { return std::regex("Jotwell Logfile started \\S.* " + DatePattern()); }
std::regex EventLine(const std::string& text) {
  return std::regex(DatePattern() + " \\S.* - " + text);
}
std::regex EndLine() { return std::regex("Jotwell Logfile ended \\S.* " + DatePattern()); }

std::vector<std::string> InChildren(const std::vector<std::function<std::string()>>& works) {
  std::vector<std::pair<pid_t, int>> children;  // process and the pipe it reports through
  for (const auto& work : works) {
    int ends[2];
    if (::pipe(ends) != 0) return {"no pipe"};
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(ends[0]);
      std::string said;
      try {
        said = work();
      } catch (const std::exception& e) {
        said = std::string("threw ") + e.what();
      }
      (void)!::write(ends[1], said.data(), said.size());
      ::_exit(0);
    }
    ::close(ends[1]);
    children.emplace_back(pid, ends[0]);
  }
  std::vector<std::string> said;
  for (auto [pid, pipe] : children) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    ::close(pipe);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
      text += " [child failed, status " + std::to_string(status) + "]";
    said.push_back(text);
  }
  return said;
}

}  // namespace jotwell::test
