// The book on Windows: an object of the component in Jotwell.dll, made by
// the library's class factory and driven through its function table, with
// the book itself as the sink of its events. A host of the component
// learns a failure from a member's result, from ErrorWritingToLogFile, or
// from a call's failed HRESULT and the error information it left; what the
// component shows only in its error box reaches no host.
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <stdexcept>

#include "Book.h"
#include "LoadedComponent.h"
#include "Utf16.h"
#include "jotwell/JotBookComponent.h"

namespace jotbook {
namespace {

// A text argument or result, freed once the call is done.
class Text {
 public:
  Text() = default;
  explicit Text(const std::string& utf8) : text_(ToBstr(utf8)) {}
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  BSTR value() const { return text_; }
  // Where a member writes its result or a by-reference argument.
  BSTR* slot() { return &text_; }
  std::string Utf8Text() const { return FromBstr(text_); }

 private:
  BSTR text_ = nullptr;
};

// Owns one reference.
template <class Interface>
class Ref {
 public:
  Ref() = default;
  ~Ref() {
    if (p_ != nullptr) p_->Release();
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;

  Interface* operator->() const { return p_; }
  Interface** slot() { return &p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  Interface* p_ = nullptr;
};

void Check(HRESULT result, const char* step) {
  if (SUCCEEDED(result)) return;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
  throw std::runtime_error(std::string(step) + " failed with " + code);
}

// A run-time error's number as automation clients read it from the code,
// any other code whole; the description the error information gives.
Book::Failure FailureOf(HRESULT code) {
  Book::Failure failure{HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : code, ""};
  Ref<IErrorInfo> info;
  Text description;
  if (GetErrorInfo(0, info.slot()) == S_OK && SUCCEEDED(info->GetDescription(description.slot())))
    failure.description = description.Utf8Text();
  return failure;
}

// RunTimeErrorNum of ErrorWritingToLogFile, passed by reference; 0 when
// the event carries none.
std::int16_t ErrorNumberOf(const DISPPARAMS* params) {
  VARIANT number;
  VariantInit(&number);
  if (params == nullptr || params->cArgs != 1 ||
      FAILED(VariantChangeType(&number, &params->rgvarg[0], 0, VT_I2)))
    return 0;
  return number.iVal;
}

class ComponentBook final : public Book, private IDispatch {
 public:
  ComponentBook() {
    Ref<IClassFactory> factory;
    Check(GetClassObject(CLSID_JotBook, IID_IClassFactory, factory.out()),
          "Jotwell.dll's class factory");
    Check(factory->CreateInstance(nullptr, IID__JotBook, book_.out()), "A new JotBook");
    Ref<IConnectionPointContainer> container;
    Check(book_->QueryInterface(IID_IConnectionPointContainer, container.out()),
          "The JotBook's connection points");
    Check(container->FindConnectionPoint(DIID___JotBook, connection_.slot()),
          "The JotBook's events");
    Check(connection_->Advise(static_cast<IDispatch*>(this), &cookie_),
          "Connecting to the JotBook's events");
  }
  ~ComponentBook() override { connection_->Unadvise(cookie_); }

  void LogFileName(const std::string& name) override {
    Text text(name);
    Record(Member()->put_LogFileName(text.value()));
  }
  void MaximumLogFileSize(std::int32_t bytes) override {
    Record(Member()->put_MaximumLogFileSize(bytes));
  }
  void RequestOverwrite() override { Record(Member()->put_OverwriteLogFile(VARIANT_TRUE)); }
  void WriteEventToLogFile(const std::string& data) override {
    Text text(data);
    Record(Member()->WriteEventToLogFile(text.slot()));
  }
  void EndLogFileEvents() override { Record(Member()->EndLogFileEvents()); }
  void DeleteLogFile() override { Record(Member()->DeleteLogFile()); }
  std::int32_t SizeOfCurrentLogFile() override {
    LONG size = 0;
    Record(Member()->get_SizeOfCurrentLogFile(&size));
    return size;
  }
  std::int64_t DiskFreeSpace() override {
    CY bytes{};
    Record(Member()->DiskFreeSpace(&bytes));
    return bytes.int64 / 10000;  // a Currency keeps four decimals
  }
  void INI_PathToINI(const std::string& path) override {
    Text text(path);
    Record(Member()->put_INI_PathToINI(text.value()));
  }
  std::int32_t INI_WriteString(const std::string& section, const std::string& key,
                               const std::string& value) override {
    Text sectionText(section), keyText(key), valueText(value);
    LONG written = 0;
    Record(
        Member()->INI_WriteString(sectionText.slot(), keyText.slot(), valueText.slot(), &written));
    return written;
  }
  std::int16_t INI_ReadINT(const std::string& section, const std::string& key) override {
    Text sectionText(section), keyText(key);
    SHORT number = 0;
    Record(Member()->INI_ReadINT(sectionText.slot(), keyText.slot(), &number));
    return number;
  }
  std::string INI_ReadString(const std::string& section, const std::string& key) override {
    Text sectionText(section), keyText(key), read;
    Record(Member()->INI_ReadString(sectionText.slot(), keyText.slot(), read.slot()));
    return read.Utf8Text();
  }
  std::string StripPath(const std::string& path) override {
    Text pathText(path), name;
    Record(Member()->StripPath(pathText.slot(), name.slot()));
    return name.Utf8Text();
  }
  bool DeleteToRecycleBin(const std::string& path) override {
    Text pathText(path);
    VARIANT_BOOL moved = VARIANT_FALSE;
    Record(Member()->DeleteToRecycleBin(pathText.value(), &moved));
    return moved == VARIANT_TRUE;
  }
  std::int32_t CopyFiles(const std::string& source, const std::string& destination,
                         const std::string& pattern) override {
    Text sourceText(source), destinationText(destination), patternText(pattern);
    LONG handled = 0;
    Record(Member()->CopyFiles(sourceText.slot(), destinationText.slot(), patternText.slot(),
                               &handled));
    return handled;
  }
  void AddToRecentDocuments(const std::string& path) override {
    Text pathText(path);
    Record(Member()->AddToRecentDocuments(pathText.slot()));
  }

  Failure LastFailure() const override { return failure_; }

 private:
  // Starts a member call: it has met nothing yet.
  _JotBook* Member() {
    failure_ = {};
    SetErrorInfo(0, nullptr);
    return book_.operator->();
  }
  void Record(HRESULT result) {
    if (FAILED(result)) failure_ = FailureOf(result);
  }

  // The sink: the book lives as long as its connection, which it ends
  // itself, so there is no count to keep.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    bool known = riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___JotBook;
    *out = known ? static_cast<IDispatch*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    if (id == DISPID_SuccessfulWriteToLogFile) ++events_.successes;
    if (id == DISPID_ErrorWritingToLogFile) {
      ++events_.errors;
      events_.lastError = ErrorNumberOf(params);
      failure_ = {events_.lastError, ""};
    }
    return S_OK;
  }

  Ref<_JotBook> book_;
  Ref<IConnectionPoint> connection_;
  DWORD cookie_ = 0;
  Failure failure_;
};

}  // namespace

std::unique_ptr<Book> OpenBook() { return std::make_unique<ComponentBook>(); }

// Jotwell.dll chooses for itself.
bool ChooseDisplay(bool windows, bool headless, const std::string&) {
  return !windows && !headless;
}

}  // namespace jotbook
