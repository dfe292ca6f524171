#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/Quietly.h"
#include "platform/files.h"
#include "platform/win32/FileHandles.h"
#include "platform/win32/LockedAppend.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::AnsiText;
using win32::FilePath;
using win32::Handle;
using win32::HandleOf;
using win32::IsDiskFile;
using win32::kShareAll;
using win32::LastSystemError;
using win32::OpenExistingFile;

// The most one WriteFile is asked to take.
constexpr DWORD kLargestWrite = 1u << 30;

// Writes everything; 0, or the code of the failure (a write that takes
// nothing counts as a full disk).
DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD taken = 0;
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kLargestWrite));
    if (!WriteFile(file, bytes.data(), chunk, &taken, nullptr)) return GetLastError();
    if (taken == 0) return ERROR_DISK_FULL;
    bytes.remove_prefix(taken);
  }
  return 0;
}

// The free bytes the calling user may still write on the volume holding
// `folder`.
std::uint64_t FreeBytesIn(std::wstring folder) {
  // A network share's root is a folder only with its separator.
  if (!folder.ends_with(L'\\') && !folder.ends_with(L'/')) folder += L'\\';
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr)) throw LastSystemError();
  return available.QuadPart;
}

// The folder the open file is in now, whatever name it was opened by.
std::wstring FolderOf(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) throw LastSystemError();
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) return path.substr(0, path.find_last_of(L'\\') + 1);
  }
}

bool IsDotEntry(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

struct SearchClose {
  void operator()(HANDLE search) const { FindClose(search); }
};
using Search = std::unique_ptr<void, SearchClose>;

class Win32Files final : public FileSystem {
 public:
  bool CanOpen(const String& path) override {
    return Quietly([&] {
      Handle file(OpenExistingFile(FilePath(path), GENERIC_READ));
      return file && IsDiskFile(file.get());
    });
  }

  // Nothing stays open: on Windows an open file keeps its name from being
  // deleted or made anew, which another writer may do while a low-space
  // box waits for the user. The locked append opens the name afresh.
  ExistingFile OpenExisting(const String& path) override { return {std::nullopt, CanOpen(path)}; }

  std::int64_t Length(const String& path) override {
    WIN32_FILE_ATTRIBUTE_DATA facts{};
    if (!GetFileAttributesExW(FilePath(path).c_str(), GetFileExInfoStandard, &facts))
      throw LastSystemError();
    return static_cast<std::int64_t>(std::uint64_t{facts.nFileSizeHigh} << 32 | facts.nFileSizeLow);
  }

  // Appending alone puts every write at the end, whoever else writes.
  bool AppendQuietly(const String& path, std::string_view bytes) override {
    bool opened = false;
    Quietly([&] {
      std::string text = AnsiText(String(bytes));
      Handle file(CreateFileW(FilePath(path).c_str(), FILE_APPEND_DATA, kShareAll, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      opened = static_cast<bool>(file);
      if (opened && IsDiskFile(file.get())) WriteAll(file.get(), text);
      return opened;
    });
    return opened;
  }

  // OpenExisting leaves nothing open to be found.
  LockedFile OpenLockedAppend(const String& path, std::optional<FoundFile>) override {
    return win32::OpenLockedAppend(path);
  }

  void Truncate(NativeFile file, std::int64_t length) override {
    LARGE_INTEGER end{};
    end.QuadPart = length;
    if (!SetFilePointerEx(HandleOf(file), end, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(HandleOf(file)))
      throw LastSystemError();
  }

  // Opened for writing rather than appending, the file is written at its end
  // by asking for it: nobody else writes while the lock is held.
  std::int64_t Write(NativeFile file, std::string_view text) override {
    std::string bytes = AnsiText(String(text));
    if (!SetFilePointerEx(HandleOf(file), LARGE_INTEGER{}, nullptr, FILE_END))
      throw LastSystemError();
    if (DWORD failure = WriteAll(HandleOf(file), bytes)) throw win32::ErrorFromCode(failure);
    return static_cast<std::int64_t>(bytes.size());
  }

  void Close(NativeFile file) override {
    if (!CloseHandle(HandleOf(file))) throw LastSystemError();
  }

  bool EraseFile(const String& path) override {
    try {
      return DeleteFileW(FilePath(path).c_str()) || win32::RefuseForLastError();
    } catch (const RuntimeError& refused) {
      return win32::Refuse(refused);
    }
  }

  bool MakeFolder(const String& path) override {
    return Quietly([&] { return CreateDirectoryW(FilePath(path).c_str(), nullptr) != 0; });
  }

  // The system's own matching, short names and all, is the rule here.
  std::vector<String> FindFiles(const String& pattern) override {
    std::vector<String> names;
    try {
      WIN32_FIND_DATAW entry{};
      HANDLE first = FindFirstFileExW(FilePath(pattern).c_str(), FindExInfoBasic, &entry,
                                      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
      if (first == INVALID_HANDLE_VALUE) return names;
      Search search(first);
      do {
        if (!IsDotEntry(entry.cFileName)) names.push_back(win32::Utf8(entry.cFileName));
      } while (FindNextFileW(search.get(), &entry));
    } catch (const RuntimeError&) {
      return {};
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  bool CopyOver(const String& from, const String& to) override {
    try {
      return CopyFileW(FilePath(from).c_str(), FilePath(to).c_str(), FALSE) ||
             win32::RefuseForLastError();
    } catch (const RuntimeError& refused) {
      return win32::Refuse(refused);
    }
  }

  std::uint64_t FreeBytes(const String& folder) override { return FreeBytesIn(FilePath(folder)); }

  std::uint64_t FreeBytesOf(NativeFile file) override {
    return FreeBytesIn(FolderOf(HandleOf(file)));
  }
};

}  // namespace

template <>
FileSystem& Group<FileSystem>::Native() {
  static Win32Files files;
  return files;
}

}  // namespace jotwell::platform
