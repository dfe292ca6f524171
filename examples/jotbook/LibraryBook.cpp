// The book on Linux: the library's C++ class, which tells a C++ host every
// failure a call met through LastFailure.
#include "Book.h"
#include "jotwell/Desktop.h"
#include "jotwell/JotBook.h"

namespace jotbook {
namespace {

class LibraryBook final : public Book, private jotwell::JotBookEvents {
 public:
  LibraryBook() { book_.Advise(*this); }
  ~LibraryBook() override { book_.Unadvise(*this); }

  void LogFileName(const std::string& name) override { book_.LogFileName(name); }
  void MaximumLogFileSize(std::int32_t bytes) override { book_.MaximumLogFileSize(bytes); }
  void RequestOverwrite() override { book_.OverwriteLogFile(jotwell::True); }
  void WriteEventToLogFile(const std::string& text) override { book_.WriteEventToLogFile(text); }
  void EndLogFileEvents() override { book_.EndLogFileEvents(); }
  void DeleteLogFile() override { book_.DeleteLogFile(); }
  std::int32_t SizeOfCurrentLogFile() override { return book_.SizeOfCurrentLogFile(); }
  std::int64_t DiskFreeSpace() override {
    return book_.DiskFreeSpace().Scaled() / jotwell::Currency::kScale;
  }
  void INI_PathToINI(const std::string& path) override { book_.INI_PathToINI(path); }
  std::int32_t INI_WriteString(const std::string& section, const std::string& key,
                               const std::string& text) override {
    return book_.INI_WriteString(section, key, text);
  }
  std::int16_t INI_ReadINT(const std::string& section, const std::string& key) override {
    return book_.INI_ReadINT(section, key);
  }
  std::string INI_ReadString(const std::string& section, const std::string& key) override {
    return book_.INI_ReadString(section, key);
  }
  std::string StripPath(const std::string& path) override { return book_.StripPath(path); }
  bool DeleteToRecycleBin(const std::string& path) override {
    return book_.DeleteToRecycleBin(path).IsTrue();
  }
  std::int32_t CopyFiles(const std::string& source, const std::string& destination,
                         const std::string& pattern) override {
    return book_.CopyFiles(source, destination, pattern);
  }
  void AddToRecentDocuments(const std::string& path) override {
    std::string trimmed = path;
    book_.AddToRecentDocuments(trimmed);
  }

  Failure LastFailure() const override {
    jotwell::JotBook::FailureInfo failure = book_.LastFailure();
    return {failure.Number, failure.Description};
  }

 private:
  void SuccessfulWriteToLogFile() override { ++events_.successes; }
  void ErrorWritingToLogFile(jotwell::Integer& RunTimeErrorNum) override {
    ++events_.errors;
    events_.lastError = RunTimeErrorNum;
  }

  jotwell::JotBook book_;
};

}  // namespace

std::unique_ptr<Book> OpenBook() { return std::make_unique<LibraryBook>(); }

// A script must never wait on a window: only the demo, meant for people,
// shows real windows unasked.
bool ChooseDisplay(bool windows, bool headless, const std::string& command) {
  if (windows && headless) return false;
  if (headless || (!windows && command != "demo")) jotwell::SetDesktop(jotwell::HeadlessDesktop());
  return true;
}

}  // namespace jotbook
