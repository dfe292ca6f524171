// The files group: what the library asks of the file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "jotwell/ValueTypes.h"
#include "platform/Group.h"

namespace jotwell::platform {

// The platform's own handle of an open file.
using NativeFile = std::intptr_t;

// What tells a file from every other one on its volume, whatever its names.
struct FileIdentity {
  std::uint64_t volume = 0, index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// A file OpenExisting opened for appending, unlocked.
struct FoundFile {
  NativeFile file;
  FileIdentity identity;
};

struct ExistingFile {
  std::optional<FoundFile> found;  // nothing when not opened
  bool canOpen;                    // what CanOpen answers for its name
};

// A file opened by OpenLockedAppend.
struct LockedFile {
  NativeFile file;
  bool created;         // this open created the file
  std::int64_t length;  // its length once the lock was taken
};

// Text the library writes into files (its logs) is UTF-8 inside; it goes
// out in the encoding the platform keeps text files in: UTF-8 on POSIX, the
// ANSI code page on Windows.
//
// Every operation that takes a path refuses an empty name and one holding
// NUL, which the system would cut short, naming another file: as a
// path/file access error (75) where it throws, with false where it answers
// yes or no, and by doing nothing in AppendQuietly.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when `path` names a regular file that can be opened for reading;
  // folders, FIFOs, devices and unopenable files give false. Leaves nothing
  // open and never blocks.
  virtual bool CanOpen(const String& path) = 0;
  // The file's length in bytes. Throws RuntimeError.
  virtual std::int64_t Length(const String& path) = 0;
  // Opens `path` for appending as OpenLockedAppend does, but never creates
  // it and locks nothing, and answers what CanOpen would: so that one open
  // serves an event's existence test, free-space query and locked append.
  // Never blocks and never throws. The file, when opened (a FIFO or device
  // too), is the caller's, for OpenLockedAppend or Close. A platform whose
  // open files keep their names from being deleted leaves nothing open.
  virtual ExistingFile OpenExisting(const String& path) = 0;

  // Appends the text to the file, creating it. Each step that fails (open,
  // write, close) is skipped and nothing blocks; the answer tells only
  // whether the file could be opened.
  virtual bool AppendQuietly(const String& path, std::string_view text) = 0;

  // Opens `path` for appending, creating it when missing, and takes an
  // exclusive advisory lock that excludes other processes and other opens in
  // this process until Close. The locked file is the one `path` names once
  // the lock is held (a file deleted meanwhile is opened again). A missing
  // file is created already locked, so that no other writer finds it empty
  // before this one has written. Never blocks on what it opens. Throws
  // RuntimeError: a name naming no regular file (a folder, FIFO or device)
  // is a path/file access error (75); a lock not had is permission denied
  // (70): the wait gives up once the file has shown no progress (no write,
  // no new file in its place) for a few seconds, or after a minute in all.
  // `found`, OpenExisting's file for `path`, is taken over in every case:
  // locked and used while `path` still names it, closed otherwise. Either
  // way the file locked is the one `path` names once the lock is held: a
  // log renamed aside meanwhile keeps what it holds.
  virtual LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile> found) = 0;
  // Cuts the open file to `length` bytes. Throws RuntimeError.
  virtual void Truncate(NativeFile file, std::int64_t length) = 0;
  // Writes all of the text at the end of the file, in one write where the
  // system takes it whole and in more where it takes part, and answers how
  // many bytes the file grew by (the text's own length unless the platform
  // encodes it otherwise). Throws RuntimeError when the system takes no more
  // (a full disk among them).
  virtual std::int64_t Write(NativeFile file, std::string_view text) = 0;
  // Releases the handle (and its lock) in every case, then throws
  // RuntimeError when the system reported a failure.
  virtual void Close(NativeFile file) = 0;

  // Deletes the file; false, the reason noted (platform/Refusal.h), when it
  // cannot be deleted.
  virtual bool EraseFile(const String& path) = 0;

  // Creates the folder, one level; false when it cannot (it exists, or its
  // parent is missing).
  virtual bool MakeFolder(const String& path) = 0;
  // The names of the entries of the folder `pattern` starts with whose
  // names match its last part, a wildcard pattern read as the Windows file
  // search reads it (see MatchesWildcard), without regard to case. All are
  // taken before this returns, in name order; "." and ".." are never among
  // them. Empty when nothing matches or the folder cannot be read.
  virtual std::vector<String> FindFiles(const String& pattern) = 0;
  // Copies the regular file `from` to `to`, replacing a file `to` the user
  // may write, with `from`'s modification time. A new file gets `from`'s
  // permission bits less the umask; a replaced one keeps its own bits and,
  // where the user may give them, its owner and group. Setuid, setgid and
  // sticky bits never pass to a copy. `to` holds its old bytes or all of the
  // new ones, never part, also when the copy is cut short; like any copy
  // the system makes, it is not forced to disk. False on failure, the reason
  // noted.
  virtual bool CopyOver(const String& from, const String& to) = 0;

  // Bytes the calling user may still write on the volume holding `folder`.
  // Throws RuntimeError: path not found (76) when `folder` does not exist,
  // so that the caller may ask its parent.
  virtual std::uint64_t FreeBytes(const String& folder) = 0;
  // The same for the volume holding the open file. Throws RuntimeError.
  virtual std::uint64_t FreeBytesOf(NativeFile file) = 0;
};

template <>
FileSystem& Group<FileSystem>::Native();

// Forwards every operation to `target`, the native implementation unless
// told otherwise: a test that injects faults overrides only the operations
// it fails.
class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& target = Group<FileSystem>::Native())
      : target_(target) {}

  bool CanOpen(const String& path) override { return target_.CanOpen(path); }
  std::int64_t Length(const String& path) override { return target_.Length(path); }
  ExistingFile OpenExisting(const String& path) override { return target_.OpenExisting(path); }
  bool AppendQuietly(const String& path, std::string_view bytes) override {
    return target_.AppendQuietly(path, bytes);
  }
  LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile> found) override {
    return target_.OpenLockedAppend(path, found);
  }
  void Truncate(NativeFile file, std::int64_t length) override {
    target_.Truncate(file, length);
  }
  std::int64_t Write(NativeFile file, std::string_view text) override {
    return target_.Write(file, text);
  }
  void Close(NativeFile file) override { target_.Close(file); }
  bool EraseFile(const String& path) override { return target_.EraseFile(path); }
  bool MakeFolder(const String& path) override { return target_.MakeFolder(path); }
  std::vector<String> FindFiles(const String& pattern) override {
    return target_.FindFiles(pattern);
  }
  bool CopyOver(const String& from, const String& to) override {
    return target_.CopyOver(from, to);
  }
  std::uint64_t FreeBytes(const String& folder) override { return target_.FreeBytes(folder); }
  std::uint64_t FreeBytesOf(NativeFile file) override { return target_.FreeBytesOf(file); }

 private:
  FileSystem& target_;
};

inline FileSystem& Files() { return Group<FileSystem>::Get(); }

}  // namespace jotwell::platform
