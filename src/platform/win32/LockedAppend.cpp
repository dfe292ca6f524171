#include "platform/win32/LockedAppend.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/win32/FileHandles.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform::win32 {
namespace {

// How long a writer waits for another to finish: as long as the file shows
// progress at least every kLockPatience, and kLockWait in all.
constexpr auto kLockPatience = std::chrono::seconds(5);
constexpr auto kLockWait = std::chrono::seconds(60);

// Tries to make a missing log new before settling for a plain create: a
// name that is there yet opens nothing (a link to nowhere) never lets a new
// file be made.
constexpr int kNewFileTries = 3;

// One wait for the lock of the file a name names. Writers ahead of us show
// progress on that name: a new file in its place, or its length or
// last-write time changed. The wait gives up once the name has shown none
// for kLockPatience, and after kLockWait in all: a holder that makes no
// progress is stuck, or holds the lock on purpose.
class LockWait {
 public:
  explicit LockWait(const std::wstring& name) : name_(name) {}

  // Polls for the exclusive lock of the whole file: a waiting lock could not
  // give up. 0, or why the lock was not had (a lock violation once the wait
  // is over).
  DWORD Lock(HANDLE file) {
    for (;;) {
      OVERLAPPED whole{};
      if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                     MAXDWORD, &whole))
        return 0;
      DWORD failure = GetLastError();
      if (failure != ERROR_LOCK_VIOLATION || !Pause()) return failure;
    }
  }

  // Waits a little before the next try; false, without waiting, once the
  // wait has given up.
  bool Pause() {
    if (Over()) return false;
    Sleep(pause_);
    pause_ = std::min<DWORD>(pause_ * 2 + 1, 10);
    return true;
  }

  bool Over() {
    Clock::time_point now = Clock::now();
    if (Facts facts = FactsNow(); facts != seen_) {
      seen_ = facts;
      progressed_ = now;
    }
    return now - progressed_ >= kLockPatience || now - start_ >= kLockWait;
  }

 private:
  using Clock = std::chrono::steady_clock;
  struct Facts {
    std::uint64_t created, written, length;
    bool operator==(const Facts&) const = default;
  };

  static std::uint64_t Quad(DWORD high, DWORD low) { return std::uint64_t{high} << 32 | low; }

  // A missing name has facts too: all zero.
  Facts FactsNow() const {
    WIN32_FILE_ATTRIBUTE_DATA facts{};
    if (!GetFileAttributesExW(name_.c_str(), GetFileExInfoStandard, &facts)) return {};
    return {Quad(facts.ftCreationTime.dwHighDateTime, facts.ftCreationTime.dwLowDateTime),
            Quad(facts.ftLastWriteTime.dwHighDateTime, facts.ftLastWriteTime.dwLowDateTime),
            Quad(facts.nFileSizeHigh, facts.nFileSizeLow)};
  }

  const std::wstring& name_;
  Clock::time_point start_ = Clock::now(), progressed_ = start_;
  // Looked at only once the lock is found taken: the lock that is free at
  // once, as it is for most writes, costs no call more.
  Facts seen_{};
  DWORD pause_ = 0;  // milliseconds
};

// One try to open the log: the handle, or why there is none.
struct Opening {
  HANDLE file;
  bool created;
  DWORD failure;
};

// Opens the log for writing (Truncate needs more than appending). A missing
// one is made with writing shared with nobody, so that no other writer
// opens it, and finds it empty, before this one has locked it and written.
Opening OpenForAppend(const std::wstring& name, int attempt) {
  HANDLE file = OpenExistingFile(name, GENERIC_WRITE);
  if (file != INVALID_HANDLE_VALUE) return {file, false, 0};
  if (DWORD failure = GetLastError(); failure != ERROR_FILE_NOT_FOUND)
    return {file, false, failure};
  const DWORD disposition = attempt < kNewFileTries ? CREATE_NEW : OPEN_ALWAYS;
  file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD failure = GetLastError();
  const bool created = disposition == CREATE_NEW || failure != ERROR_ALREADY_EXISTS;
  return {file, file != INVALID_HANDLE_VALUE && created, failure};
}

// Failures that pass once another open lets go: a writer's new file still
// held, one made between our two tries, one being deleted that keeps its
// name until its last handle closes.
bool Passes(DWORD failure, bool vanishing) {
  return failure == ERROR_SHARING_VIOLATION || failure == ERROR_FILE_EXISTS ||
         (vanishing && failure == ERROR_ACCESS_DENIED);
}

bool IsBeingDeleted(HANDLE file) {
  FILE_STANDARD_INFO facts{};
  return GetFileInformationByHandleEx(file, FileStandardInfo, &facts, sizeof facts) &&
         facts.DeletePending;
}

enum class Naming { Same, Other, Vanishing };

// Whether `name` still names the locked file: it may have been deleted, or
// renamed aside (a log rotated by hand keeps what it holds), while we waited
// for the lock. Opened for its attributes only, which no sharing refuses.
Naming NamingOf(const std::wstring& name, FileIdentity locked, HANDLE file) {
  Handle named(OpenExistingFile(name, FILE_READ_ATTRIBUTES));
  if (!named) {
    DWORD failure = GetLastError();
    if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND) return Naming::Other;
    if (failure == ERROR_ACCESS_DENIED && IsBeingDeleted(file)) return Naming::Vanishing;
    throw ErrorFromCode(failure);
  }
  std::optional<FileIdentity> identity = IdentityOf(named.get());
  if (!identity) throw LastSystemError();
  return *identity == locked ? Naming::Same : Naming::Other;
}

std::int64_t LengthOf(HANDLE file) {
  LARGE_INTEGER length{};
  if (!GetFileSizeEx(file, &length)) throw LastSystemError();
  return length.QuadPart;
}

}  // namespace

LockedFile OpenLockedAppend(const String& path) {
  const std::wstring name = FilePath(path);
  LockWait wait(name);
  bool vanishing = false;
  for (int attempt = 0;;) {
    Opening opened = OpenForAppend(name, attempt++);
    if (opened.file == INVALID_HANDLE_VALUE) {
      if (!Passes(opened.failure, vanishing) || !wait.Pause()) throw ErrorFromCode(opened.failure);
      continue;
    }
    Handle file(opened.file);
    if (!IsDiskFile(file.get())) throw RuntimeError(errnum::kPathFileAccess);
    if (DWORD failure = wait.Lock(file.get())) throw ErrorFromCode(failure);
    std::optional<FileIdentity> identity = IdentityOf(file.get());
    if (!identity) throw LastSystemError();
    // A file being deleted keeps its name, and may even open, until its last
    // handle goes: what it took would be lost with it.
    Naming naming =
        IsBeingDeleted(file.get()) ? Naming::Vanishing : NamingOf(name, *identity, file.get());
    if (naming == Naming::Same) {
      std::int64_t length = LengthOf(file.get());
      return {NativeOf(file.release()), opened.created, length};
    }
    vanishing = naming == Naming::Vanishing;
    if (wait.Over()) throw ErrorFromCode(ERROR_LOCK_VIOLATION);
  }
}

}  // namespace jotwell::platform::win32
