// A host written in C: loads the library with dlopen, creates a JotBook
// through its class factory, calls every member through Invoke and through
// the function table, and receives both events in its own sink. Exits 0
// when everything answered as expected.
//
// Usage: host LIBRARY SCRATCH_FOLDER
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "jotwell/JotBookComponent.h"

static int failures = 0;
#define CHECK(c) \
  do { if (!(c)) printf("host.c:%d: failed: %s\n", __LINE__, #c), ++failures; } while (0)

// The library's functions, found with dlsym under their own names.
#define ENTRIES(X) X(DllGetClassObject) X(DllCanUnloadNow) X(SysAllocStringLen) X(SysFreeString) X(SysStringLen) \
  X(VariantInit) X(VariantClear)
#define DECLARE(name) static __typeof__(&name) p##name;
ENTRIES(DECLARE)

static const char* scratch;

// ASCII text only, which is all this host passes.
static BSTR Text(const char* ascii) {
  OLECHAR units[512];
  UINT n = 0;
  for (; ascii[n] != 0 && n < 511; ++n) units[n] = (OLECHAR)(unsigned char)ascii[n];
  return pSysAllocStringLen(units, n);
}

static int Equals(BSTR text, const char* ascii) {
  UINT i = 0, n = pSysStringLen(text);
  while (i < n && ascii[i] != 0 && text[i] == (OLECHAR)(unsigned char)ascii[i]) ++i;
  return i == n && ascii[i] == 0;
}

// Text results: compared, then freed.
static int Took(BSTR text, const char* ascii) {
  int same = Equals(text, ascii);
  pSysFreeString(text);
  return same;
}
static int TookText(VARIANT* result, const char* ascii) { return result->vt == VT_BSTR && Took(result->bstrVal, ascii); }

static const char* InScratch(const char* name) {
  static char paths[8][512];
  static int next = 0;
  char* path = paths[next++ % 8];
  snprintf(path, 512, "%s/%s", scratch, name);
  return path;
}

// The sink: an IDispatch of its own that counts references and events, and
// changes the error number it is given.
typedef struct {
  IDispatch dispatch;
  ULONG references;
  int successes, errors;
  SHORT lastNumber;
} Sink;

static HRESULT STDMETHODCALLTYPE SinkQueryInterface(IDispatch* This, REFIID riid, void** out) {
  int known = !memcmp(riid, &IID_IUnknown, sizeof(GUID)) || !memcmp(riid, &IID_IDispatch, sizeof(GUID)) ||
              !memcmp(riid, &DIID___JotBook, sizeof(GUID));
  *out = known ? This : NULL;
  return known ? (This->lpVtbl->AddRef(This), S_OK) : E_NOINTERFACE;
}
static ULONG STDMETHODCALLTYPE SinkAddRef(IDispatch* This) { return ++((Sink*)This)->references; }
static ULONG STDMETHODCALLTYPE SinkRelease(IDispatch* This) { return --((Sink*)This)->references; }
// Type information and names are nobody's business here.
static HRESULT STDMETHODCALLTYPE SinkGetTypeInfoCount(IDispatch* This, UINT* count) { return (void)This, *count = 0, S_OK; }
static HRESULT STDMETHODCALLTYPE SinkGetTypeInfo(IDispatch* This, UINT i, LCID l, ITypeInfo** info) {
  return (void)This, (void)i, (void)l, *info = NULL, E_NOTIMPL;
}
static HRESULT STDMETHODCALLTYPE SinkGetIDsOfNames(IDispatch* This, REFIID riid, LPOLESTR* names, UINT count,
                                                   LCID lcid, DISPID* ids) {
  return (void)This, (void)riid, (void)names, (void)count, (void)lcid, (void)ids, E_NOTIMPL;
}
static HRESULT STDMETHODCALLTYPE SinkInvoke(IDispatch* This, DISPID id, REFIID riid, LCID lcid, WORD flags,
                                            DISPPARAMS* params, VARIANT* result, EXCEPINFO* info, UINT* bad) {
  Sink* sink = (Sink*)This;
  (void)riid, (void)lcid, (void)flags, (void)result, (void)info, (void)bad;
  if (id == DISPID_SuccessfulWriteToLogFile && params->cArgs == 0) {
    ++sink->successes;
  } else if (id == DISPID_ErrorWritingToLogFile && params->cArgs == 1 &&
             params->rgvarg[0].vt == (VT_I2 | VT_BYREF)) {
    ++sink->errors;
    sink->lastNumber = *params->rgvarg[0].piVal;
    *params->rgvarg[0].piVal = 999;
  }
  return S_OK;
}
static const IDispatchVtbl kSinkTable = {SinkQueryInterface, SinkAddRef,        SinkRelease, SinkGetTypeInfoCount,
                                         SinkGetTypeInfo,    SinkGetIDsOfNames, SinkInvoke};

// Late binding: a member by name, arguments in parameter order.
static HRESULT Call(_JotBook* book, const char* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  BSTR text = Text(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = book->lpVtbl->GetIDsOfNames(book, &IID_NULL, &text, 1, 0x409, &id);
  pSysFreeString(text);
  if (FAILED(hr)) return hr;
  VARIANT reversed[3];
  for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
  DISPID put = DISPID_PROPERTYPUT;
  int isPut = (flags & DISPATCH_PROPERTYPUT) != 0;
  DISPPARAMS params = {reversed, isPut ? &put : NULL, count, isPut ? 1u : 0u};
  if (result != NULL) pVariantInit(result);
  return book->lpVtbl->Invoke(book, id, &IID_NULL, 0x409, flags, &params, result, NULL, NULL);
}

static VARIANT TextArg(const char* ascii) { return (VARIANT){.vt = VT_BSTR, .bstrVal = Text(ascii)}; }
static VARIANT RefArg(BSTR* variable) { return (VARIANT){.vt = VT_BYREF | VT_BSTR, .pbstrVal = variable}; }
static VARIANT LongArg(LONG value) { return (VARIANT){.vt = VT_I4, .lVal = value}; }
static VARIANT BoolArg(VARIANT_BOOL value) { return (VARIANT){.vt = VT_BOOL, .boolVal = value}; }

static void Put(_JotBook* book, const char* name, VARIANT value) {
  CHECK(Call(book, name, DISPATCH_PROPERTYPUT, &value, 1, NULL) == S_OK);
  pVariantClear(&value);
}

static VARIANT Get(_JotBook* book, const char* name) {
  VARIANT result;
  CHECK(Call(book, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, NULL, 0, &result) == S_OK);
  return result;
}

static char* ReadAll(const char* path) {
  static char buffer[65536];
  FILE* file = fopen(path, "rb");
  buffer[file ? fread(buffer, 1, sizeof buffer - 1, file) : 0] = 0;
  if (file) fclose(file);
  return buffer;
}

// Every member through Invoke.
static void ThroughInvoke(_JotBook* book, Sink* sink) {
  VARIANT r, args[3];
  Put(book, "LogFileName", TextArg(InScratch("invoke.log")));
  Put(book, "MaximumLogFileSize", LongArg(100000));
  Put(book, "OverwriteLogFile", BoolArg(VARIANT_TRUE));
  r = Get(book, "OverwriteLogFile");
  CHECK(r.vt == VT_BOOL && r.boolVal == VARIANT_TRUE);

  BSTR data = Text("from Invoke");
  args[0] = RefArg(&data);
  CHECK(Call(book, "WriteEventToLogFile", DISPATCH_METHOD, args, 1, NULL) == S_OK);
  pSysFreeString(data);
  CHECK(sink->successes == 1);
  CHECK(strstr(ReadAll(InScratch("invoke.log")), " - from Invoke\r\n") != NULL);
  r = Get(book, "DoesLogFileExist");
  CHECK(r.vt == VT_BOOL && r.boolVal == VARIANT_TRUE);
  r = Get(book, "MaximumLogFileSize");
  CHECK(r.vt == VT_I4 && r.lVal == 100000);
  r = Get(book, "SizeOfCurrentLogFile");
  CHECK(r.vt == VT_I4);
  r = Get(book, "LogFileName");
  CHECK(TookText(&r, InScratch("invoke.log")));
  CHECK(Call(book, "EndLogFileEvents", DISPATCH_METHOD, NULL, 0, NULL) == S_OK);
  CHECK(strstr(ReadAll(InScratch("invoke.log")), "Logfile ended") != NULL);
  CHECK(Call(book, "DeleteLogFile", DISPATCH_METHOD, NULL, 0, NULL) == S_OK);
  r = Get(book, "DoesLogFileExist");
  CHECK(r.vt == VT_BOOL && r.boolVal == VARIANT_FALSE);

  Put(book, "INI_PathToINI", TextArg(InScratch("invoke.ini")));
  r = Get(book, "INI_PathToINI");
  CHECK(TookText(&r, InScratch("invoke.ini")));
  args[0] = TextArg("Section"), args[1] = TextArg("Number"), args[2] = TextArg("42");
  CHECK(Call(book, "INI_WriteString", DISPATCH_METHOD, args, 3, &r) == S_OK && r.vt == VT_I4 && r.lVal != 0);
  CHECK(Call(book, "INI_ReadINT", DISPATCH_METHOD, args, 2, &r) == S_OK && r.vt == VT_I2 && r.iVal == 42);
  CHECK(Call(book, "INI_ReadString", DISPATCH_METHOD, args, 2, &r) == S_OK && TookText(&r, "42"));
  for (int i = 0; i < 3; ++i) pVariantClear(&args[i]);

  FILE* document = fopen(InScratch("doc.txt"), "w");
  fputs("document", document), fclose(document);
  char padded[600];
  snprintf(padded, sizeof padded, "  %s ", InScratch("doc.txt"));
  BSTR path = Text(padded);
  args[0] = RefArg(&path);
  CHECK(Call(book, "AddToRecentDocuments", DISPATCH_METHOD, args, 1, NULL) == S_OK);
  CHECK(Equals(path, InScratch("doc.txt")));
  CHECK(Call(book, "StripPath", DISPATCH_METHOD, args, 1, &r) == S_OK && TookText(&r, "doc.txt"));
  pSysFreeString(path);

  mkdir(InScratch("copies"), 0755);
  // The folders end with their separator: the member joins them to the names.
  args[0] = TextArg(InScratch("")), args[1] = TextArg(InScratch("copies/")), args[2] = TextArg("*.txt");
  CHECK(Call(book, "CopyFiles", DISPATCH_METHOD, args, 3, &r) == S_OK && r.vt == VT_I4 && r.lVal == 1);
  CHECK(strcmp(ReadAll(InScratch("copies/doc.txt")), "document") == 0);
  for (int i = 0; i < 3; ++i) pVariantClear(&args[i]);
  Put(book, "LogFileName", TextArg(InScratch("invoke.log")));
  CHECK(Call(book, "DiskFreeSpace", DISPATCH_METHOD, NULL, 0, &r) == S_OK && r.vt == VT_CY && r.cyVal.int64 > 0);
  args[0] = TextArg(InScratch("copies/doc.txt"));
  CHECK(Call(book, "DeleteToRecycleBin", DISPATCH_METHOD, args, 1, &r) == S_OK && r.vt == VT_BOOL &&
        r.boolVal == VARIANT_TRUE);
  CHECK(access(InScratch("copies/doc.txt"), F_OK) != 0);
  pVariantClear(&args[0]);
}

// Every member through the function table.
static void ThroughTheTable(_JotBook* book, Sink* sink) {
  const _JotBookVtbl* t = book->lpVtbl;
  BSTR text = Text(InScratch("table.log")), back = NULL, a, b, c;
  VARIANT_BOOL flag = 0;
  LONG number = 0;
  SHORT small = 0;
  CY free = {{0, 0}};
  CHECK(t->put_LogFileName(book, text) == S_OK);
  pSysFreeString(text);
  CHECK(t->put_MaximumLogFileSize(book, 50000) == S_OK);
  CHECK(t->get_MaximumLogFileSize(book, &number) == S_OK && number == 50000);
  CHECK(t->put_OverwriteLogFile(book, 1) == S_OK);  // raw: 1 is not True
  CHECK(t->get_OverwriteLogFile(book, &flag) == S_OK && flag == 1);
  text = Text("from the table");
  CHECK(t->WriteEventToLogFile(book, &text) == S_OK);
  pSysFreeString(text);
  CHECK(sink->successes == 2);
  CHECK(t->get_DoesLogFileExist(book, &flag) == S_OK && flag == VARIANT_TRUE);
  CHECK(t->get_SizeOfCurrentLogFile(book, &number) == S_OK);
  CHECK(t->get_LogFileName(book, &back) == S_OK && Took(back, InScratch("table.log")));
  CHECK(t->EndLogFileEvents(book) == S_OK);
  CHECK(t->DeleteLogFile(book) == S_OK);
  CHECK(t->get_DoesLogFileExist(book, &flag) == S_OK && flag == VARIANT_FALSE);
  CHECK(t->DiskFreeSpace(book, &free) == S_OK && free.int64 > 0);

  text = Text(InScratch("table.ini"));
  CHECK(t->put_INI_PathToINI(book, text) == S_OK);
  pSysFreeString(text);
  CHECK(t->get_INI_PathToINI(book, &back) == S_OK && Took(back, InScratch("table.ini")));
  a = Text("S"), b = Text("k"), c = Text("-7");
  CHECK(t->INI_WriteString(book, &a, &b, &c, &number) == S_OK && number != 0);
  CHECK(t->INI_ReadINT(book, &a, &b, &small) == S_OK && small == -7);
  CHECK(t->INI_ReadString(book, &a, &b, &back) == S_OK && Took(back, "-7"));
  pSysFreeString(a), pSysFreeString(b), pSysFreeString(c);

  a = Text(InScratch("doc.txt"));
  CHECK(t->StripPath(book, &a, &back) == S_OK && Took(back, "doc.txt"));
  CHECK(t->AddToRecentDocuments(book, &a) == S_OK);
  pSysFreeString(a);
  a = Text(InScratch("")), b = Text(InScratch("copies/")), c = Text("doc.*");
  CHECK(t->CopyFiles(book, &a, &b, &c, &number) == S_OK && number == 1);
  pSysFreeString(a), pSysFreeString(b), pSysFreeString(c);
  a = Text(InScratch("copies/doc.txt"));
  CHECK(t->DeleteToRecycleBin(book, a, &flag) == S_OK && flag == VARIANT_TRUE);
  pSysFreeString(a);
}

// A failed write: the sink's change reaches the message box for a number
// the box does not name (76), and not for one it names (75).
static void FailedWrites(_JotBook* book, Sink* sink) {
  int saved = dup(2);
  int captured = open(InScratch("stderr.txt"), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(captured, 2);
  Put(book, "LogFileName", TextArg(InScratch("missing/x.log")));
  BSTR data = Text("lost");
  CHECK(book->lpVtbl->WriteEventToLogFile(book, &data) == S_OK);
  CHECK(sink->errors == 1 && sink->lastNumber == 76);
  Put(book, "LogFileName", TextArg(scratch));
  CHECK(book->lpVtbl->WriteEventToLogFile(book, &data) == S_OK);
  CHECK(sink->errors == 2 && sink->lastNumber == 75);
  pSysFreeString(data);
  dup2(saved, 2);
  close(saved), close(captured);
  const char* shown = ReadAll(InScratch("stderr.txt"));
  CHECK(strstr(shown, "Run Time Error Number 999 occurred.") != NULL);
  CHECK(strstr(shown, "Path/File Error!") != NULL);
}

int main(int argc, char** argv) {
  if (argc != 3) return fprintf(stderr, "usage: %s LIBRARY SCRATCH_FOLDER\n", argv[0]), 2;
  scratch = argv[2];
  setenv("XDG_DATA_HOME", InScratch("data"), 1);  // the trash and the recent list stay here
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == NULL) return fprintf(stderr, "%s\n", dlerror()), 2;
#define LOAD(name) *(void**)&p##name = dlsym(library, #name);
  ENTRIES(LOAD)

  IClassFactory* factory = NULL;
  _JotBook* book = NULL;
  CHECK(pDllGetClassObject(&CLSID_JotBook, &IID_IClassFactory, (void**)&factory) == S_OK);
  CHECK(factory->lpVtbl->CreateInstance(factory, NULL, &IID__JotBook, (void**)&book) == S_OK);
  CHECK(factory->lpVtbl->Release(factory) == 0);

  Sink sink = {{&kSinkTable}, 1, 0, 0, 0};
  IConnectionPointContainer* container = NULL;
  IConnectionPoint* point = NULL;
  DWORD cookie = 0;
  CHECK(book->lpVtbl->QueryInterface(book, &IID_IConnectionPointContainer, (void**)&container) == S_OK);
  CHECK(container->lpVtbl->FindConnectionPoint(container, &DIID___JotBook, &point) == S_OK);
  CHECK(point->lpVtbl->Advise(point, (IUnknown*)&sink, &cookie) == S_OK);

  ThroughInvoke(book, &sink);
  ThroughTheTable(book, &sink);
  FailedWrites(book, &sink);

  CHECK(point->lpVtbl->Unadvise(point, cookie) == S_OK);
  CHECK(sink.references == 1);
  point->lpVtbl->Release(point);
  container->lpVtbl->Release(container);
  CHECK(pDllCanUnloadNow() == S_FALSE);
  CHECK(book->lpVtbl->Release(book) == 0);
  CHECK(pDllCanUnloadNow() == S_OK);
  dlclose(library);
  printf("%s: %d failure(s)\n", argv[0], failures);
  return failures == 0 ? 0 : 1;
}
