// A host written in C: loads the library with dlopen, creates a JotBook
// through its class factory, calls every member through Invoke and through
// the function table, and receives both events in its own sink. Exits 0
// when everything answered as expected.
//
// Usage: host LIBRARY SCRATCH_FOLDER
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "jotwell/JotBookComponent.h"

static int failures = 0;
static char context[128] = "setup";  // the row being run, for the failure messages
#define CHECK(c)                                                                \
  do {                                                                          \
    if (!(c)) printf("host.c:%d: %s: %s\n", __LINE__, context, #c), ++failures; \
  } while (0)

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

// A row's text: '@' stands for the scratch folder with its separator, '$'
// for the pass, so that the second pass cannot pass on the first's values.
static const char* Expand(const char* text, int pass) {
  static char texts[8][512];
  static int next = 0;
  char* out = texts[next++ % 8];
  int n = 0;
  for (; *text != 0 && n < 400; ++text) {
    if (*text == '@') n += snprintf(out + n, 100, "%s/", scratch);
    else out[n++] = *text == '$' ? (char)('0' + pass) : *text;
  }
  return out[n] = 0, out;
}

static char* ReadAll(const char* path) {
  static char buffer[65536];
  FILE* file = fopen(path, "rb");
  buffer[file ? fread(buffer, 1, sizeof buffer - 1, file) : 0] = 0;
  if (file) fclose(file);
  return buffer;
}

// The sink: an IDispatch of its own that counts references and events, and
// changes the error number it is given to 900 plus its count of errors.
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
  sink->successes += id == DISPID_SuccessfulWriteToLogFile && params->cArgs == 0;
  VARIANT* arg = params->cArgs == 1 ? &params->rgvarg[0] : NULL;
  if (id != DISPID_ErrorWritingToLogFile || !arg || arg->vt != (VT_I2 | VT_BYREF)) return S_OK;
  sink->lastNumber = *arg->piVal;
  *arg->piVal = (SHORT)(900 + ++sink->errors);
  return S_OK;
}
static const IDispatchVtbl kSinkTable = {SinkQueryInterface, SinkAddRef,        SinkRelease, SinkGetTypeInfoCount,
                                         SinkGetTypeInfo,    SinkGetIDsOfNames, SinkInvoke};

// The function table's entry shapes and how a row's values fill each. A
// row's shape is chosen by its entry's declared type, so a row cannot call
// an entry with the wrong arguments, nor name an entry of a new shape.
// P(k): the k-th text argument, or the result once the arguments run out.
// The shapes read best as a table.
// clang-format off
#define P(k) ((k) < count ? &s[k] : &r->bstrVal)
#define SHAPES(X)                                                                   \
  X(1, (_JotBook*), (book))                                                         \
  X(2, (_JotBook*, BSTR), (book, s[0]))                                             \
  X(3, (_JotBook*, LONG), (book, n))                                                \
  X(4, (_JotBook*, VARIANT_BOOL), (book, (VARIANT_BOOL)n))                          \
  X(5, (_JotBook*, BSTR*), (book, P(0)))                                            \
  X(6, (_JotBook*, LONG*), (book, &r->lVal))                                        \
  X(7, (_JotBook*, VARIANT_BOOL*), (book, &r->boolVal))                             \
  X(8, (_JotBook*, CY*), (book, &r->cyVal))                                         \
  X(9, (_JotBook*, BSTR*, BSTR*), (book, P(0), P(1)))                               \
  X(10, (_JotBook*, BSTR, VARIANT_BOOL*), (book, s[0], &r->boolVal))                \
  X(11, (_JotBook*, BSTR*, BSTR*, SHORT*), (book, P(0), P(1), &r->iVal))            \
  X(12, (_JotBook*, BSTR*, BSTR*, BSTR*), (book, P(0), P(1), P(2)))                 \
  X(13, (_JotBook*, BSTR*, BSTR*, BSTR*, LONG*), (book, P(0), P(1), P(2), &r->lVal))
#define SHAPE_NUMBER(shape, params, args) , HRESULT(STDMETHODCALLTYPE*) params: shape
#define SHAPE_CALL(shape, params, args) \
  case shape: return (*(HRESULT(STDMETHODCALLTYPE**) params)entry) args;
#define MEMBER(entry) \
  #entry, offsetof(_JotBookVtbl, entry), _Generic(((_JotBookVtbl*)0)->entry SHAPES(SHAPE_NUMBER))
// clang-format on

// A member with its arguments in parameter order ('#' a Long, '?' a
// Boolean, '&' text by reference, else text by value) and what it answers:
// the result of `type` ('>' before a number: above it), or for VT_BYREF
// the first argument's text afterwards; then `file` holds `holds`, or is
// gone when `holds` is NULL.
typedef struct {
  const char* member;
  size_t entry;
  int shape;
  const char* args[3];
  VARTYPE type;
  const char *result, *file, *holds;
} Row;

static const Row kRows[] = {
    {MEMBER(put_LogFileName), {"@pass$.log"}, VT_EMPTY, NULL, NULL, NULL},
    {MEMBER(put_MaximumLogFileSize), {"#$0000"}, VT_EMPTY, NULL, NULL, NULL},
    {MEMBER(get_MaximumLogFileSize), {NULL}, VT_I4, "$0000", NULL, NULL},
    {MEMBER(put_OverwriteLogFile), {"?$"}, VT_EMPTY, NULL, NULL, NULL},
    {MEMBER(get_OverwriteLogFile), {NULL}, VT_BOOL, "$", NULL, NULL},  // kept raw, not made True
    {MEMBER(WriteEventToLogFile), {"&pass $"}, VT_EMPTY, NULL, "@pass$.log", " - pass $\r\n"},
    {MEMBER(get_DoesLogFileExist), {NULL}, VT_BOOL, "-1", NULL, NULL},
    {MEMBER(get_SizeOfCurrentLogFile), {NULL}, VT_I4, ">0", NULL, NULL},
    {MEMBER(get_LogFileName), {NULL}, VT_BSTR, "@pass$.log", NULL, NULL},
    {MEMBER(EndLogFileEvents), {NULL}, VT_EMPTY, NULL, "@pass$.log", "Logfile ended"},
    {MEMBER(DeleteLogFile), {NULL}, VT_EMPTY, NULL, "@pass$.log", NULL},
    {MEMBER(get_DoesLogFileExist), {NULL}, VT_BOOL, "0", NULL, NULL},
    {MEMBER(DiskFreeSpace), {NULL}, VT_CY, ">0", NULL, NULL},
    {MEMBER(put_INI_PathToINI), {"@pass$.ini"}, VT_EMPTY, NULL, NULL, NULL},
    {MEMBER(get_INI_PathToINI), {NULL}, VT_BSTR, "@pass$.ini", NULL, NULL},
    {MEMBER(INI_WriteString), {"Section", "Key$", "-$7"}, VT_I4, ">0", "@pass$.ini", "-$7"},
    {MEMBER(INI_ReadINT), {"Section", "Key$"}, VT_I2, "-$7", NULL, NULL},
    {MEMBER(INI_ReadString), {"Section", "Key$"}, VT_BSTR, "-$7", NULL, NULL},
    {MEMBER(AddToRecentDocuments), {"&  @doc.txt "}, VT_BYREF | VT_BSTR, "@doc.txt", NULL, NULL},
    {MEMBER(StripPath), {"&@doc.txt"}, VT_BSTR, "doc.txt", NULL, NULL},
    // The folders end with their separator: the member joins them to the names.
    {MEMBER(CopyFiles), {"@", "@copies/", "*.txt"}, VT_I4, "1", "@copies/doc.txt", "document"},
    {MEMBER(DeleteToRecycleBin), {"@copies/doc.txt"}, VT_BOOL, "-1", "@copies/doc.txt", NULL},
    // A failed write (76): the box shows the number as the sink changed it.
    {MEMBER(put_LogFileName), {"@missing/pass$.log"}, VT_EMPTY, NULL, NULL, NULL},
    {MEMBER(WriteEventToLogFile), {"&lost"}, VT_EMPTY, NULL, "@shown.err", "Number 90$ occurred"},
};

static HRESULT ThroughTheTable(_JotBook* book, const Row* row, BSTR* s, UINT count, long n,
                               VARIANT* r) {
  const char* entry = (const char*)book->lpVtbl + row->entry;
  if (!(row->type & VT_BYREF)) r->vt = row->type;
  switch (row->shape) { SHAPES(SHAPE_CALL) }
  return E_NOTIMPL;
}

// Late binding: the member by name, arguments in parameter order.
static HRESULT ThroughInvoke(_JotBook* book, const char* member, VARIANT* args, UINT count,
                             VARIANT* r) {
  int put = strncmp(member, "put_", 4) == 0, get = strncmp(member, "get_", 4) == 0;
  BSTR name = Text(member + (put || get ? 4 : 0));
  DISPID id = DISPID_UNKNOWN, named = DISPID_PROPERTYPUT;
  HRESULT hr = book->lpVtbl->GetIDsOfNames(book, &IID_NULL, &name, 1, 0x409, &id);
  pSysFreeString(name);
  VARIANT reversed[3];
  for (UINT i = 0; i < count; ++i) reversed[i] = args[count - 1 - i];
  DISPPARAMS params = {reversed, put ? &named : NULL, count, put ? 1u : 0u};
  WORD flags = put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | (get ? DISPATCH_PROPERTYGET : 0);
  if (FAILED(hr)) return hr;
  return book->lpVtbl->Invoke(book, id, &IID_NULL, 0x409, flags, &params, put ? NULL : r, 0, 0);
}

static int Matches(const VARIANT* v, const char* expected) {
  long long value = v->vt == VT_I4 ? v->lVal : v->vt == VT_CY ? v->cyVal.int64 : v->iVal;
  long long wanted = atoll(expected + (expected[0] == '>'));
  return expected[0] == '>' ? value > wanted : value == wanted;
}

static void Run(_JotBook* book, const Row* row, int pass) {
  BSTR s[3] = {NULL, NULL, NULL};
  VARIANT args[3], result;
  UINT count = 0;
  long n = 0;
  snprintf(context, sizeof context, "%s, pass %d", row->member, pass);
  for (; count < 3 && row->args[count] != NULL; ++count) {
    const char* arg = row->args[count];
    const char* text = Expand(arg + (strchr("#?&", arg[0]) != NULL), pass);
    s[count] = Text(text);
    n = count == 0 ? atol(text) : n;
    args[count] = arg[0] == '#'   ? (VARIANT){.vt = VT_I4, .lVal = n}
                  : arg[0] == '?' ? (VARIANT){.vt = VT_BOOL, .boolVal = (VARIANT_BOOL)n}
                  : arg[0] == '&' ? (VARIANT){.vt = VT_BYREF | VT_BSTR, .pbstrVal = &s[count]}
                                  : (VARIANT){.vt = VT_BSTR, .bstrVal = s[count]};
  }
  pVariantInit(&result);
  CHECK((pass == 2 ? ThroughTheTable(book, row, s, count, n, &result)
                   : ThroughInvoke(book, row->member, args, count, &result)) == S_OK);
  const char* wanted = Expand(row->result ? row->result : "", pass);
  int written = row->type == (VT_BYREF | VT_BSTR);
  CHECK(result.vt == (written ? VT_EMPTY : row->type));
  if (written) CHECK(Equals(s[0], wanted));
  else if (row->type == VT_BSTR) CHECK(result.vt == VT_BSTR && Equals(result.bstrVal, wanted));
  else if (row->type != VT_EMPTY) CHECK(Matches(&result, wanted));
  const char* file = row->file ? Expand(row->file, pass) : NULL;
  if (file && row->holds) CHECK(strstr(ReadAll(file), Expand(row->holds, pass)) != NULL);
  if (file && !row->holds) CHECK(access(file, F_OK) != 0);
  pVariantClear(&result);
  for (UINT i = 0; i < count; ++i) pSysFreeString(s[i]);
}

int main(int argc, char** argv) {
  if (argc != 3) return fprintf(stderr, "usage: %s LIBRARY SCRATCH_FOLDER\n", argv[0]), 2;
  scratch = argv[2];
  setenv("XDG_DATA_HOME", Expand("@data", 0), 1);  // the trash and the recent list stay here
  mkdir(Expand("@copies", 0), 0755);
  FILE* document = fopen(Expand("@doc.txt", 0), "w");
  fputs("document", document), fclose(document);
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

  // Every member through Invoke, then every member through the function table,
  // with the boxes they show kept in a file (and printed should a check fail).
  int terminal = dup(2);
  dup2(open(Expand("@shown.err", 0), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  for (int pass = 1; pass <= 2; ++pass) {
    for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) Run(book, &kRows[i], pass);
    CHECK(sink.successes == pass && sink.errors == pass && sink.lastNumber == 76);
  }
  dup2(terminal, 2);
  if (failures) fputs(ReadAll(Expand("@shown.err", 0)), stderr);

  snprintf(context, sizeof context, "teardown");
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
