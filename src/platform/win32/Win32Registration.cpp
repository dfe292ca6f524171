// The registry: the class, its programmatic name and its type library
// (with both interfaces, marshalled through it) under Software\Classes,
// machine-wide when the process may write there, else the user's own. A
// parent key the registration had to create is noted under the class key,
// so that removing the record removes it too once it is empty.
#include <windows.h>

#include <oleauto.h>

#include <vector>

#include "jotwell/RuntimeError.h"
#include "platform/registration.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/WideText.h"

// The system exports these, but the cross compiler's headers lack them.
extern "C" {
HRESULT WINAPI RegisterTypeLibForUser(ITypeLib*, OLECHAR*, OLECHAR*);
HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID, WORD, WORD, LCID, SYSKIND);
}

namespace jotwell::platform {
namespace {

using win32::Wide;

constexpr const wchar_t* kClasses = L"Software\\Classes";
// The parents under kClasses that a record writes into.
constexpr const wchar_t* kParents[] = {L"CLSID", L"TypeLib", L"Interface"};
constexpr const wchar_t* kCreatedParents = L"CreatedParentKeys";

void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS) throw win32::ErrorFromCode(static_cast<DWORD>(status));
}

// An open key, closed on scope exit; empty when the key is missing.
class Key {
 public:
  Key() = default;
  Key(HKEY root, const std::wstring& path, REGSAM access) {
    if (::RegOpenKeyExW(root, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool Exists(HKEY root, const std::wstring& path) { return bool(Key(root, path, KEY_READ)); }

bool IsEmpty(HKEY root, const std::wstring& path) {
  Key key(root, path, KEY_READ);
  DWORD subkeys = 0, values = 0;
  return key &&
         ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                            &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

// Sets a text value (the key's default for an empty name), creating the key.
void SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  Check(::RegSetKeyValueW(root, path.c_str(), name, REG_SZ, text.c_str(),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

std::wstring Text(HKEY root, const std::wstring& path, const wchar_t* name) {
  DWORD bytes = 0;
  if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS)
    return L"";
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS)
    return L"";
  text.resize(::wcsnlen(text.c_str(), text.size()));
  return text;
}

void DeleteTree(HKEY root, const std::wstring& path) {
  LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
  if (status == ERROR_SUCCESS) status = ::RegDeleteKeyW(root, path.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Check(status);
}

// Where the record goes: the machine's classes when this process may add
// to them, else the user's.
HKEY WritableRoot() {
  Key machine(HKEY_LOCAL_MACHINE, kClasses, KEY_CREATE_SUB_KEY);
  return machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The root whose classes hold the record, if either does.
HKEY RootHolding(const std::wstring& classKey) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    if (Exists(root, std::wstring(kClasses) + L"\\" + classKey)) return root;
  return nullptr;
}

GUID GuidOf(const String& text) {
  GUID guid{};
  if (FAILED(::CLSIDFromString(Wide(text).c_str(), &guid)))
    throw RuntimeError(errnum::kInvalidProcedureCall);
  return guid;
}

// "major.minor"
std::pair<WORD, WORD> VersionOf(const String& text) {
  std::size_t point = text.find('.');
  return {static_cast<WORD>(std::stoi(text.substr(0, point))),
          static_cast<WORD>(point == String::npos ? 0 : std::stoi(text.substr(point + 1)))};
}

constexpr SYSKIND kThisSystem = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr const wchar_t* kThisSystemKey = sizeof(void*) == 8 ? L"win64" : L"win32";

// Some runtimes' type-library marshaller (Wine's among them) looks for the
// library's file only under the neutral locale, while registration files it
// under the library's own (0x409): the neutral entry names it too, so that
// a host in another apartment is served.
std::wstring NeutralLocaleKey(const ClassRecord& record) {
  return std::wstring(kClasses) + L"\\TypeLib\\" + Wide(record.typeLibraryId) + L"\\" +
         Wide(record.typeLibraryVersion) + L"\\0";
}

// The type library the file carries as its first resource, registered with
// its interfaces.
void RegisterTypeLibraryOf(const String& libraryPath, HKEY root) {
  ITypeLib* library = nullptr;
  std::wstring path = Wide(libraryPath);
  if (HRESULT loaded = ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library); FAILED(loaded))
    throw RuntimeError(errnum::kPathFileAccess, "The type library cannot be loaded", loaded);
  auto registerIn = root == HKEY_LOCAL_MACHINE ? ::RegisterTypeLib : ::RegisterTypeLibForUser;
  HRESULT registered = registerIn(library, path.data(), nullptr);
  library->Release();
  if (FAILED(registered))
    throw RuntimeError(errnum::kPathFileAccess, "The type library cannot be registered",
                       registered);
}

void UnregisterTypeLibrary(const ClassRecord& record, HKEY root) {
  auto [major, minor] = VersionOf(record.typeLibraryVersion);
  GUID id = GuidOf(record.typeLibraryId);
  auto unregisterIn = root == HKEY_LOCAL_MACHINE ? ::UnRegisterTypeLib : ::UnRegisterTypeLibForUser;
  HRESULT removed = unregisterIn(id, major, minor, record.typeLibraryLocale, kThisSystem);
  if (FAILED(removed) && removed != TYPE_E_REGISTRYACCESS && removed != TYPE_E_LIBNOTREGISTERED)
    throw RuntimeError(errnum::kPathFileAccess, "The type library cannot be unregistered", removed);
}

class Win32Registry final : public ClassRegistry {
 public:
  void WriteClassRecord(const ClassRecord& record) override {
    HKEY root = WritableRoot();
    const std::wstring classes = kClasses, classKey = classes + L"\\CLSID\\" + Wide(record.classId);
    std::wstring created = CreatedParents(root);
    const std::wstring progId = Wide(record.progId), typeLibrary = Wide(record.typeLibraryId);
    SetText(root, classKey, nullptr, progId);
    SetText(root, classKey + L"\\InprocServer32", nullptr, Wide(record.libraryPath));
    SetText(root, classKey + L"\\InprocServer32", L"ThreadingModel", Wide(record.threadingModel));
    SetText(root, classKey + L"\\ProgID", nullptr, progId);
    SetText(root, classKey + L"\\TypeLib", nullptr, typeLibrary);
    SetText(root, classKey + L"\\Version", nullptr, Wide(record.typeLibraryVersion));
    SetText(root, classes + L"\\" + progId, nullptr, progId);
    SetText(root, classes + L"\\" + progId + L"\\CLSID", nullptr, Wide(record.classId));
    RegisterTypeLibraryOf(record.libraryPath, root);
    SetText(root, NeutralLocaleKey(record) + L"\\" + kThisSystemKey, nullptr,
            Wide(record.libraryPath));
    if (!created.empty())
      Check(::RegSetKeyValueW(root, classKey.c_str(), kCreatedParents, REG_MULTI_SZ,
                              created.c_str(),
                              static_cast<DWORD>((created.size() + 1) * sizeof(wchar_t))));
  }

  void RemoveClassRecord(const ClassRecord& record) override {
    const std::wstring classKey = L"CLSID\\" + Wide(record.classId);
    HKEY root = RootHolding(classKey);
    if (root == nullptr) return;
    const std::wstring classes = kClasses, fullClassKey = classes + L"\\" + classKey;
    std::vector<std::wstring> created = NotedParents(root, fullClassKey);
    DeleteTree(root, NeutralLocaleKey(record));
    UnregisterTypeLibrary(record, root);
    DeleteTree(root, fullClassKey);
    DeleteTree(root, classes + L"\\" + Wide(record.progId));
    for (const std::wstring& parent : created)
      if (IsEmpty(root, parent)) DeleteTree(root, parent);
  }

  String RegisteredClassId(const String& progId) override {
    return win32::Utf8(Text(HKEY_CLASSES_ROOT, Wide(progId) + L"\\CLSID", nullptr));
  }

  String RegisteredLibrary(const String& classId) override {
    return win32::Utf8(
        Text(HKEY_CLASSES_ROOT, L"CLSID\\" + Wide(classId) + L"\\InprocServer32", nullptr));
  }

 private:
  // The parent keys missing before the record is written, as a multi-string
  // (each ends with a NUL), the deepest first so that removal empties them
  // in turn.
  static std::wstring CreatedParents(HKEY root) {
    std::wstring missing;
    for (const wchar_t* parent : kParents) {
      std::wstring path = std::wstring(kClasses) + L"\\" + parent;
      if (!Exists(root, path)) missing += path + L'\0';
    }
    if (!Exists(root, kClasses)) missing += std::wstring(kClasses) + L'\0';
    return missing;
  }

  static std::vector<std::wstring> NotedParents(HKEY root, const std::wstring& classKey) {
    DWORD bytes = 0;
    std::vector<std::wstring> parents;
    if (::RegGetValueW(root, classKey.c_str(), kCreatedParents, RRF_RT_REG_MULTI_SZ, nullptr,
                       nullptr, &bytes) != ERROR_SUCCESS)
      return parents;
    std::wstring noted(bytes / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(root, classKey.c_str(), kCreatedParents, RRF_RT_REG_MULTI_SZ, nullptr,
                       noted.data(), &bytes) != ERROR_SUCCESS)
      return parents;
    for (std::size_t at = 0; at < noted.size() && noted[at] != L'\0';) {
      std::size_t end = noted.find(L'\0', at);
      parents.push_back(noted.substr(at, end - at));
      at = end + 1;
    }
    return parents;
  }
};

}  // namespace

template <>
ClassRegistry& Group<ClassRegistry>::Native() {
  static Win32Registry registry;
  return registry;
}

}  // namespace jotwell::platform
