#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

namespace jotwell::platform {
namespace {

using win32::Refuse;

class Win32Shell final : public Shell {
 public:
  // The shell reads wildcards in the names it is given, and would trash
  // every file they match; no file's name holds one.
  bool MoveToTrash(const String& path) override {
    try {
      std::wstring names = win32::FullPath(path);
      if (names.find_first_of(L"*?") != std::wstring::npos)
        return Refuse(win32::ErrorFromCode(ERROR_INVALID_NAME));
      names.push_back(L'\0');  // the list ends with an empty name
      SHFILEOPSTRUCTW operation{};
      operation.wFunc = FO_DELETE;
      operation.pFrom = names.c_str();
      operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
      if (int failure = SHFileOperationW(&operation))
        return Refuse(win32::ErrorFromCode(static_cast<DWORD>(failure)));
      return !operation.fAnyOperationsAborted || Refuse(win32::ErrorFromCode(ERROR_CANCELLED));
    } catch (const RuntimeError& refused) {
      return Refuse(refused);
    }
  }

  // The list takes any name without a word, a missing document's too, as
  // the POSIX list does.
  bool AddRecentDocument(const String& path) override {
    try {
      std::wstring document = win32::FullPath(path);
      SHAddToRecentDocs(SHARD_PATHW, document.c_str());
      return true;
    } catch (const RuntimeError& refused) {
      return Refuse(refused);
    }
  }
};

}  // namespace

template <>
Shell& Group<Shell>::Native() {
  static Win32Shell shell;
  return shell;
}

}  // namespace jotwell::platform
