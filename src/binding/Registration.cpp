#include "binding/Registration.h"

#include <cstdint>

#include "binding/Failure.h"
#include "jotwell/JotBookClient.h"
#include "jotwell/JotBookComponent.h"
#include "jotwell/RuntimeError.h"
#include "platform/component.h"
#include "platform/registration.h"

namespace jotwell::binding {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(String& out, std::uint64_t value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
  return -1;
}

constexpr const char* kVersion = "1.1";
constexpr std::uint32_t kEnglishUs = 0x409;

// What the component registers; `libraryPath` is the file that serves it.
platform::ClassRecord Record(const String& libraryPath) {
  return {
      .classId = GuidText(CLSID_JotBook),
      .progId = JOTWELL_PROGID,
      .libraryPath = libraryPath,
      .threadingModel = "Apartment",
      .typeLibraryId = GuidText(LIBID_Jotwell),
      .typeLibraryName = "Jotwell",
      .typeLibraryVersion = kVersion,
      .typeLibraryLocale = kEnglishUs,
      .dual = {GuidText(IID__JotBook), "_JotBook"},
      .events = {GuidText(DIID___JotBook), "__JotBook"},
  };
}

}  // namespace

String GuidText(const GUID& guid) {
  String text = "{";
  AppendHex(text, guid.Data1, 8), text += '-';
  AppendHex(text, guid.Data2, 4), text += '-';
  AppendHex(text, guid.Data3, 4), text += '-';
  for (int i = 0; i < 8; ++i) AppendHex(text, guid.Data4[i], 2), text += i == 1 ? "-" : "";
  return text + "}";
}

bool ParseGuid(const String& text, GUID& guid) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  std::uint8_t bytes[16];
  std::size_t at = 1;
  for (std::uint8_t& byte : bytes) {
    if (text[at] == '-') ++at;
    int high = HexValue(text[at]), low = HexValue(text[at + 1]);
    if (high < 0 || low < 0) return false;
    byte = static_cast<std::uint8_t>(high << 4 | low);
    at += 2;
  }
  if (at != 37 || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return false;
  guid.Data1 = static_cast<std::uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
  guid.Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
  guid.Data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = bytes[8 + i];
  return true;
}

HRESULT RegisterServer() {
  try {
    platform::Registry().WriteClassRecord(Record(platform::Component().LibraryPath()));
    return S_OK;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() {
  try {
    platform::Registry().RemoveClassRecord(Record(""));
    return S_OK;
  } catch (const std::exception&) {
    return SELFREG_E_CLASS;
  }
}

HRESULT CreateRegistered(const String& name, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  GUID classId{};
  try {
    String classText = name.starts_with("{") ? name : platform::Registry().RegisteredClassId(name);
    if (!ParseGuid(classText, classId)) return name.starts_with("{") ? CO_E_CLASSSTRING : REGDB_E_CLASSNOTREG;
    String library = platform::Registry().RegisteredLibrary(GuidText(classId));
    if (library.empty()) return REGDB_E_CLASSNOTREG;
    auto entry = reinterpret_cast<decltype(&DllGetClassObject)>(
        platform::Component().LoadEntryPoint(library, "DllGetClassObject"));
    IClassFactory* factory = nullptr;
    if (HRESULT found = entry(classId, IID_IClassFactory, reinterpret_cast<void**>(&factory)); FAILED(found))
      return found;
    HRESULT made = factory->CreateInstance(nullptr, riid, out);
    factory->Release();
    return made;
  } catch (const RuntimeError& error) {
    return error.Number() == errnum::kErrorInLoadingDll ? CO_E_DLLNOTFOUND : CO_E_ERRORINDLL;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

}  // namespace jotwell::binding
