#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "platform/component.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::LastSystemError;

// The longest path the system has.
constexpr DWORD kLongestPath = 32768;

// Any function of the library tells the system which module it is in.
void Anchor() {}

struct TaskMemoryFree {
  void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

// The folder, made with its missing parents.
void MakeFolders(const std::wstring& folder) {
  if (CreateDirectoryW(folder.c_str(), nullptr)) return;
  DWORD failure = GetLastError();
  if (failure == ERROR_ALREADY_EXISTS) {
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) throw LastSystemError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) throw RuntimeError(errnum::kPathFileAccess);
    return;
  }
  std::size_t parent = folder.find_last_of(L"\\/");
  if (failure != ERROR_PATH_NOT_FOUND || parent == std::wstring::npos || parent == 0)
    throw win32::ErrorFromCode(failure);
  MakeFolders(folder.substr(0, parent));
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    throw LastSystemError();
}

class Win32Component final : public ComponentFile {
 public:
  String LibraryPath() override {
    HMODULE library = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&Anchor), &library))
      throw RuntimeError(errnum::kFileNotFound, static_cast<Long>(GetLastError()));
    // A path too long for the room comes back cut to fill it.
    for (DWORD room = MAX_PATH; room <= kLongestPath; room *= 2) {
      std::wstring path(room, L'\0');
      DWORD length = GetModuleFileNameW(library, path.data(), room);
      if (length == 0) break;
      if (length < room) return win32::Utf8(std::wstring_view(path).substr(0, length));
    }
    throw RuntimeError(errnum::kFileNotFound, static_cast<Long>(GetLastError()));
  }

  String LibraryFileName() override { return "Jotwell.dll"; }

  // The user's own folder on this computer, which roams nowhere: as the
  // environment names it (%LOCALAPPDATA%), else as the system knows it.
  String UserFolderOf(UserFolder) override {
    if (DWORD room = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0); room > 1) {
      std::wstring named(room, L'\0');
      named.resize(GetEnvironmentVariableW(L"LOCALAPPDATA", named.data(), room));
      if (!named.empty()) return win32::Utf8(named) + "\\Jotwell";
    }
    wchar_t* found = nullptr;
    HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &found);
    std::unique_ptr<wchar_t, TaskMemoryFree> folder(found);
    if (FAILED(result)) throw RuntimeError(errnum::kPathNotFound, static_cast<Long>(result));
    return win32::Utf8(folder.get()) + "\\Jotwell";
  }

  String MakeUserFolder(UserFolder kind) override {
    String folder = UserFolderOf(kind);
    MakeFolders(win32::FilePath(folder));
    return folder;
  }

  EntryPoint LoadEntryPoint(const String& path, const char* symbol) override {
    HMODULE library = nullptr;
    try {
      library = LoadLibraryW(win32::WidePath(path).c_str());
    } catch (const RuntimeError& refused) {
      throw RuntimeError(errnum::kErrorInLoadingDll, refused.LastDllError());
    }
    if (library == nullptr)
      throw RuntimeError(errnum::kErrorInLoadingDll, static_cast<Long>(GetLastError()));
    FARPROC entry = GetProcAddress(library, symbol);
    if (entry == nullptr)
      throw RuntimeError(errnum::kDllFunctionNotFound, static_cast<Long>(GetLastError()));
    return reinterpret_cast<EntryPoint>(entry);
  }
};

}  // namespace

template <>
ComponentFile& Group<ComponentFile>::Native() {
  static Win32Component component;
  return component;
}

}  // namespace jotwell::platform
