// The JotBook members the subcommands use, and what each call met. On Linux
// a book is the library's C++ class; on Windows, where Jotwell.dll offers
// only the component, it is an object of the component's, driven through
// its function table. Text is UTF-8 on both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace jotbook {

class Book {
 public:
  // What a member call met: number 0 and no description when nothing.
  struct Failure {
    long number = 0;
    std::string description;
  };
  // The events raised since the book was made.
  struct Events {
    int successes = 0;
    int errors = 0;
    std::int16_t lastError = 0;  // the run-time error number the last error carried
  };

  virtual ~Book() = default;

  virtual void LogFileName(const std::string& name) = 0;
  virtual void MaximumLogFileSize(std::int32_t bytes) = 0;
  // The next event write starts the log afresh.
  virtual void RequestOverwrite() = 0;
  virtual void WriteEventToLogFile(const std::string& text) = 0;
  virtual void EndLogFileEvents() = 0;
  virtual void DeleteLogFile() = 0;
  virtual std::int32_t SizeOfCurrentLogFile() = 0;
  // Whole bytes.
  virtual std::int64_t DiskFreeSpace() = 0;
  virtual void INI_PathToINI(const std::string& path) = 0;
  virtual std::int32_t INI_WriteString(const std::string& section, const std::string& key,
                                       const std::string& text) = 0;
  virtual std::int16_t INI_ReadINT(const std::string& section, const std::string& key) = 0;
  virtual std::string INI_ReadString(const std::string& section, const std::string& key) = 0;
  virtual std::string StripPath(const std::string& path) = 0;
  virtual bool DeleteToRecycleBin(const std::string& path) = 0;
  virtual std::int32_t CopyFiles(const std::string& source, const std::string& destination,
                                 const std::string& pattern) = 0;
  virtual void AddToRecentDocuments(const std::string& path) = 0;

  // The last failure the last member call met that the book can learn.
  virtual Failure LastFailure() const = 0;
  const Events& RaisedEvents() const { return events_; }

 protected:
  Events events_;
};

// A new book; throws what keeps it from being made.
std::unique_ptr<Book> OpenBook();

// Where boxes, reports and the About window go for `command`, as the
// global options --windows and --headless ask; false when that cannot be
// had: both at once, or either on Windows, where Jotwell.dll decides
// (windows on an interactive desktop, standard error without one).
bool ChooseDisplay(bool windows, bool headless, const std::string& command);

}  // namespace jotbook
