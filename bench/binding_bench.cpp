// The component binding's cost: a property get and an event write through
// IDispatch::Invoke against the same direct C++ calls, and the allocations
// of property gets through Invoke.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "RatioReporter.h"
#include "jotwell/JotBook.h"
#include "jotwell/JotBookComponent.h"
#include "jotwell/testing/ScriptedDesktop.h"
#include "support/AllocationCounter.h"

namespace {

using namespace jotwell;

constexpr DISPID kMaximumLogFileSize = 0x68030002, kWriteEventToLogFile = 0x6003000C;
std::string folder;

IDispatch* CreateObject() {
  IClassFactory* factory = nullptr;
  IDispatch* object = nullptr;
  if (DllGetClassObject(CLSID_JotBook, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) std::abort();
  factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
  factory->Release();
  return object;
}

HRESULT InvokeGet(IDispatch* object, VARIANT& result) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return object->Invoke(kMaximumLogFileSize, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result,
                        nullptr, nullptr);
}

void BM_DirectGet(benchmark::State& state) {
  JotBook& book = JotBook::Global();
  for (auto _ : state) benchmark::DoNotOptimize(book.MaximumLogFileSize());
}

void BM_InvokeGet(benchmark::State& state) {
  IDispatch* object = CreateObject();
  VARIANT result;
  for (auto _ : state) {
    InvokeGet(object, result);
    benchmark::DoNotOptimize(result.lVal);
  }
  object->Release();
}

void BM_DirectWrite(benchmark::State& state) {
  JotBook& book = JotBook::Global();
  book.LogFileName(folder + "/direct.log");
  for (auto _ : state) book.WriteEventToLogFile("an event of ordinary length");
}

void BM_InvokeWrite(benchmark::State& state) {
  IDispatch* object = CreateObject();
  VARIANT name{VT_BSTR, 0, 0, 0, {}}, text{VT_BSTR, 0, 0, 0, {}};
  std::u16string path(folder.begin(), folder.end());
  path += u"/invoke.log";
  name.bstrVal = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
  text.bstrVal = SysAllocString(u"an event of ordinary length");
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS let{&name, &put, 1, 1}, write{&text, nullptr, 1, 0};
  object->Invoke(0x68030001, IID_NULL, 0, DISPATCH_PROPERTYPUT, &let, nullptr, nullptr, nullptr);
  for (auto _ : state)
    object->Invoke(kWriteEventToLogFile, IID_NULL, 0, DISPATCH_METHOD, &write, nullptr, nullptr, nullptr);
  VariantClear(&name), VariantClear(&text);
  object->Release();
}

// Allocations of `calls` property gets through Invoke, after a warm-up.
long AllocationsOfInvokeGets(int calls) {
  IDispatch* object = CreateObject();
  VARIANT result;
  for (int i = 0; i < 1000; ++i) InvokeGet(object, result);
  long before = static_cast<long>(test::AllocationCount());
  auto probe = std::make_unique<int>(0);  // the counter must see this one
  benchmark::DoNotOptimize(probe.get());
  if (static_cast<long>(test::AllocationCount()) == before) return -1;
  before = static_cast<long>(test::AllocationCount());
  for (int i = 0; i < calls; ++i) InvokeGet(object, result);
  long counted = static_cast<long>(test::AllocationCount()) - before;
  object->Release();
  return counted;
}

}  // namespace

int main(int argc, char** argv) {
  SetDesktop(std::make_shared<testing::ScriptedDesktop>());  // the About window stays quiet
  char scratch[] = "/tmp/jotwell-binding-bench-XXXXXX";
  if (::mkdtemp(scratch) == nullptr) return 1;
  folder = scratch;
  bench::RegisterInterleaved(5, 0.1,
                             {{"BM_DirectGet", BM_DirectGet},
                              {"BM_InvokeGet", BM_InvokeGet},
                              {"BM_DirectWrite", BM_DirectWrite},
                              {"BM_InvokeWrite", BM_InvokeWrite}});
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  reporter.PrintRatio("property get through Invoke / direct", "BM_InvokeGet", "BM_DirectGet");
  reporter.PrintRatio("WriteEventToLogFile through Invoke / direct", "BM_InvokeWrite", "BM_DirectWrite");
  long counted = AllocationsOfInvokeGets(100000);
  std::printf("allocations in 100,000 property gets through Invoke: %ld\n", counted);
  std::system(("rm -rf " + folder).c_str());
  SetDesktop(nullptr);
  return counted == 0 ? 0 : 1;
}
