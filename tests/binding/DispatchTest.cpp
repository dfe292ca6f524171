// _JotBook through IDispatch and through its function table: names, the
// answers to bad calls, coercions, write-back, threads and the strings'
// crossing.
#include <cmath>
#include <thread>

#include "base/Variant.h"
#include "binding/BindingSupport.h"
#include "platform/runtime.h"
#include "values/PathDialect.h"

namespace jotwell {
namespace {

using namespace test;
using DispatchTest = BindingTest;

constexpr WORD kGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

TEST_F(DispatchTest, NamesAnswerInAnyCaseWithTheirParametersAndUnknownNamesAreRefused) {
  EXPECT_EQ(IdOf("LOGFILENAME"), 0x68030001);
  Bstr names[] = {MakeBstr("copyfiles"), MakeBstr("FILESPEC"), MakeBstr("Source"), MakeBstr("Bogus")};
  LPOLESTR raw[] = {names[0].get(), names[1].get(), names[2].get(), names[3].get()};
  DISPID ids[4];
  EXPECT_EQ(book->GetIDsOfNames(IID_NULL, raw, 3, 0x409, ids), S_OK);
  EXPECT_THAT(std::vector<DISPID>(ids, ids + 3), ::testing::ElementsAre(0x60030014, 2, 0));
  EXPECT_EQ(book->GetIDsOfNames(IID_NULL, raw, 4, 0x409, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[3], DISPID_UNKNOWN);
  EXPECT_EQ(book->GetIDsOfNames(IID_NULL, raw + 3, 1, 0x409, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
}

// A call through Invoke, its arguments in parameter order.
struct Invocation {
  DISPID id;
  WORD flags;
  std::vector<Var> args;
  std::vector<DISPID> named{};
};
Invocation Method(DISPID id, std::vector<Var> args, std::vector<DISPID> named = {}) {
  return {id, DISPATCH_METHOD, std::move(args), std::move(named)};
}
// A put of `value`, named as a put's value is unless `named` says otherwise.
Invocation Let(DISPID id, const Var& value, DISPID named = DISPID_PROPERTYPUT,
               WORD flags = DISPATCH_PROPERTYPUT) {
  return {id, flags, {value}, {named}};
}
Invocation LetRef(DISPID id, const Var& value) {
  return Let(id, value, DISPID_PROPERTYPUT, DISPATCH_PROPERTYPUTREF);
}

struct BadCall {
  const char* what;
  Invocation call;
  HRESULT answer;
  UINT argumentError = ~0u;
};

class DispatchBadCall : public test::BindingTest, public ::testing::WithParamInterface<BadCall> {};

// Each bad call gets its standard answer and changes nothing.
TEST_P(DispatchBadCall, IsAnsweredWithItsCode) {
  const Invocation& call = GetParam().call;
  ASSERT_EQ(Put("MaximumLogFileSize", Var::Of(VT_I4, 7)), S_OK);
  UINT argumentError = ~0u;
  Var result;
  EXPECT_EQ(Call(call.id, call.flags, call.args, &result, call.named, &argumentError),
            GetParam().answer);
  EXPECT_EQ(argumentError, GetParam().argumentError);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(Get("MaximumLogFileSize").lVal, 7);
}

constexpr DISPID kLogFileName = 0x68030001, kMaximum = 0x68030002, kSize = 0x68030004;
constexpr DISPID kStripPath = 0x60030007, kWrite = 0x60030008;  // INI_WriteString
const Var kText = Var::Text("x"), kOne = Var::Of(VT_I4, 1), kObject = Var::Of(VT_DISPATCH, 0);
const Var kNull = Var::Of(VT_NULL, 0), kNullRef = Var::Ref(VT_BSTR, nullptr);
const Var kNaN = Var::Real(std::nan(""));

INSTANTIATE_TEST_SUITE_P(
    Table, DispatchBadCall,
    ::testing::ValuesIn(std::vector<BadCall>{
        {"unknown identifier", Method(0x12345, {}), DISP_E_MEMBERNOTFOUND},
        {"no invocation kind", {kStripPath, 0, {kText}}, DISP_E_MEMBERNOTFOUND},
        {"put on a read-only property", Let(kSize, kOne), DISP_E_MEMBERNOTFOUND},
        {"put on a method", Let(kStripPath, kText), DISP_E_MEMBERNOTFOUND},
        {"putref on a value property", LetRef(kMaximum, kOne), DISP_E_MEMBERNOTFOUND},
        {"too few", Method(kStripPath, {}), DISP_E_BADPARAMCOUNT},
        {"named argument to a method", Method(kStripPath, {kText}, {0}), DISP_E_NONAMEDARGS},
        {"put value under another name", Let(kMaximum, kOne, 0), DISP_E_NONAMEDARGS},
        {"object for text", Method(kWrite, {kText, kText, kObject}), DISP_E_TYPEMISMATCH, 0},
        {"null for text", Method(kWrite, {kText, kNull, kText}), DISP_E_TYPEMISMATCH, 1},
        {"by-reference null pointer", Method(kStripPath, {kNullRef}), DISP_E_TYPEMISMATCH, 0},
        {"text that is no number", Let(kMaximum, Var::Text("12 apples")), DISP_E_TYPEMISMATCH, 0},
        {"Long overflow", Let(kMaximum, Var::Real(3e9)), DISP_E_OVERFLOW, 0},
        {"64-bit overflow", Let(kMaximum, Var::Of(VT_I8, 1LL << 40)), DISP_E_OVERFLOW, 0},
        {"not a number", Let(kMaximum, kNaN), DISP_E_OVERFLOW, 0},
        {"date beyond the calendar", Let(kLogFileName, kNaN.As(VT_DATE)), DISP_E_OVERFLOW, 0},
    }),
    [](const auto& info) {
      std::string n = info.param.what;
      for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST_F(DispatchTest, NonNullInterfaceAndMissingParametersAreRefused) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(book->Invoke(kMaximum, IID_IDispatch, 0, kGet, &none, nullptr, nullptr, nullptr), DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(book->Invoke(kMaximum, IID_NULL, 0, kGet, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
  DISPPARAMS lying{nullptr, nullptr, 1, 0};
  EXPECT_EQ(book->Invoke(kStripPath, IID_NULL, 0, DISPATCH_METHOD, &lying, nullptr, nullptr, nullptr), E_INVALIDARG);
}

// Puts a value and reads it back; a relative log file name reads back in
// the library's folder.
struct Coercion {
  const char* property;
  Var given, readBack;
};

class DispatchCoercion : public test::BindingTest, public ::testing::WithParamInterface<Coercion> {};

TEST_P(DispatchCoercion, ConvertsAsAutomationDoes) {
  const Coercion& c = GetParam();
  ASSERT_EQ(Put(c.property, c.given), S_OK);
  Var back = Get(c.property);
  ASSERT_EQ(back.vt, c.readBack.vt);
  if (back.vt == VT_BSTR)
    EXPECT_EQ(Utf8(back.bstrVal),
              NativePaths().Complete(Utf8(c.readBack.bstrVal), dir.path().string()));
  else
    EXPECT_EQ(back.lVal & (back.vt == VT_BOOL ? 0xFFFF : -1), c.readBack.lVal & (back.vt == VT_BOOL ? 0xFFFF : -1));
}

LONG kLongVariable = 41;
SHORT kRawOne = 1;
Var kVariantVariable = Var::Text("99");
BSTR kTextVariable = UnitsBstr(u"5.5");

INSTANTIATE_TEST_SUITE_P(
    Table, DispatchCoercion,
    ::testing::ValuesIn(std::vector<Coercion>{
        {"MaximumLogFileSize", Var::Of(VT_I2, -5), Var::Of(VT_I4, -5)},
        {"MaximumLogFileSize", Var::Real(2.5), Var::Of(VT_I4, 2)},  // halves go to even
        {"MaximumLogFileSize", Var::Real(3.5), Var::Of(VT_I4, 4)},
        {"MaximumLogFileSize", Var::Of(VT_CY, 125000), Var::Of(VT_I4, 12)},
        {"MaximumLogFileSize", Var::Real(2.5).As(VT_DATE), Var::Of(VT_I4, 2)},
        {"MaximumLogFileSize", Var::Text(" 42 "), Var::Of(VT_I4, 42)},
        {"MaximumLogFileSize", Var::Of(VT_EMPTY, 0), Var::Of(VT_I4, 0)},
        {"MaximumLogFileSize", Var::Of(VT_BOOL, -1), Var::Of(VT_I4, -1)},
        {"MaximumLogFileSize", Var::Ref(VT_I4, &kLongVariable), Var::Of(VT_I4, 41)},
        {"MaximumLogFileSize", Var::Ref(VT_VARIANT, &kVariantVariable), Var::Of(VT_I4, 99)},
        {"MaximumLogFileSize", Var::Ref(VT_BSTR, &kTextVariable), Var::Of(VT_I4, 6)},
        {"LogFileName", Var::Of(VT_I4, -7), Var::Text("-7")},
        {"LogFileName", Var::Real(1.5), Var::Text("1.5")},
        {"LogFileName", Var::Of(VT_R4, std::bit_cast<std::int32_t>(0.1f)), Var::Text("0.1")},
        {"LogFileName", Var::Of(VT_CY, 12345), Var::Text("1.2345")},
        {"LogFileName", Var::Of(VT_BOOL, -1), Var::Text("True")},
        {"LogFileName", Var::Of(VT_EMPTY, 0), Var::Text("")},
        {"LogFileName", Var::Text("naïve €"), Var::Text("naïve €")},
        {"OverwriteLogFile", Var::Of(VT_BOOL, 1), Var::Of(VT_BOOL, 1)},  // kept raw, not True
        {"OverwriteLogFile", Var::Ref(VT_BOOL, &kRawOne), Var::Of(VT_BOOL, 1)},
        {"OverwriteLogFile", Var::Of(VT_I4, 1), Var::Of(VT_BOOL, -1)},
        {"OverwriteLogFile", Var::Text("TRUE"), Var::Of(VT_BOOL, -1)},
    }),
    [](const auto& info) { return info.param.property + std::to_string(info.index); });

// A date given for text reads in the user's general date form, as a
// script's Now does.
TEST_F(DispatchTest, ADateGivenForTextReadsAsTheUsersGeneralDate) {
  ASSERT_EQ(Put("LogFileName", Var::Real(46363.5).As(VT_DATE)), S_OK);
  EXPECT_EQ(Utf8(Get("LogFileName").bstrVal),
            NativePaths().Complete(GeneralDateText({2026, 12, 7, 12, 0, 0}), dir.path().string()));
}

// A Variant variable passed by reference gets the member's change back, as
// script hosts pass variables (the C host checks BSTR variables).
TEST_F(DispatchTest, ByReferenceTextIsWrittenBack) {
  std::string file = dir.File("doc.txt");
  test::WriteFile(file, "x");
  Var variable = Var::Text(" " + file), unchanged = Var::Text(file), result;
  ASSERT_EQ(Call(IdOf("AddToRecentDocuments"), DISPATCH_METHOD, {Var::Ref(VT_VARIANT, &variable)}), S_OK);
  ASSERT_EQ(Call(IdOf("StripPath"), DISPATCH_METHOD, {Var::Ref(VT_VARIANT, &unchanged)}, &result), S_OK);
  EXPECT_EQ((Lines{Utf8(variable.bstrVal), Utf8(result.bstrVal)}), (Lines{file, "doc.txt"}));
}

// From another thread the object refuses every call and nothing changes.
TEST_F(DispatchTest, AnotherThreadIsAnsweredWrongThread) {
  std::thread([&] {
    Bstr name = MakeBstr("elsewhere.log");
    void* any = nullptr;
    EXPECT_EQ(book->put_LogFileName(name.get()), RPC_E_WRONG_THREAD);
    EXPECT_EQ(Call(0x68030001, DISPATCH_PROPERTYPUT, {Var::Text("elsewhere.log")}, nullptr, {DISPID_PROPERTYPUT}),
              RPC_E_WRONG_THREAD);
    EXPECT_EQ(book->QueryInterface(IID_IConnectionPointContainer, &any), RPC_E_WRONG_THREAD);
    EXPECT_EQ(any, nullptr);
  }).join();
  EXPECT_EQ(Utf8(Get("LogFileName").bstrVal), "");
}

// An error raised while the library reports one (here by the report window
// itself) reaches the host: as DISP_E_EXCEPTION through Invoke, as its own
// code through the function table, and each time as the runtime's error
// information.
TEST_F(DispatchTest, AnErrorRaisedWhileTheLibraryReportsOneReachesTheHost) {
  struct : platform::ComponentRuntime {
    ITypeInfo* TypeInfoOf(const GUID&) override { return nullptr; }
    void LeaveErrorInfo(const GUID& id, const String& source, const String& description) override {
      left.push_back((id == IID__JotBook ? "_JotBook " : "? ") + source + ": " + description);
    }
    Lines left;
  } runtime;
  test::ScopedInstall<platform::ComponentRuntime> installed(runtime);
  test::OnFreshThread([&] {
    _JotBook* own = Create();
    Var size = Var::Of(VT_I4, 5);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&size, &put, 1, 1};
    EXCEPINFO info{};
    auto failTheNextReport = [&] {
      desktop->WhileNextReportShown([] { throw RuntimeError(errnum::kPermissionDenied); });
      test::FailNextTraceEntry();  // the member's first step fails: a report
    };
    failTheNextReport();
    EXPECT_EQ(own->Invoke(kMaximum, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &info, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(std::tuple(info.scode, Utf8(info.bstrSource), Utf8(info.bstrDescription)),
              std::tuple(SCODE(0x800A0046), "Jotwell", "Permission denied"));
    SysFreeString(info.bstrSource), SysFreeString(info.bstrDescription);
    failTheNextReport();
    EXPECT_EQ(own->put_MaximumLogFileSize(5), static_cast<HRESULT>(0x800A0046));
    EXPECT_EQ(own->Release(), 0u);
  });
  EXPECT_EQ(runtime.left, Lines(2, "_JotBook Jotwell: Permission denied"));
}

TEST(Utf16Test, TextCrossesBothWaysAndUnpairedSurrogatesBecomeReplacements) {
  struct Case { std::u16string units; std::string utf8; };
  for (const Case& c : std::vector<Case>{{u"aé€😀", "aé€😀"},
                                          {u"a\xD800z", "a\uFFFDz"},
                                          {u"\xDC00\xD83D", "\uFFFD\uFFFD"},
                                          {{u'n', 0, u'l'}, std::string("n\0l", 3)}}) {
    Bstr bstr(UnitsBstr(c.units));
    EXPECT_EQ(binding::FromBstr(bstr.get()), c.utf8);
  }
  Bstr back(binding::ToBstr("ok \xFF\xC3 \xF0\x9F\x98\x80"));  // stray bytes, then U+1F600
  EXPECT_EQ(UnitsOf(back.get()), u"ok \uFFFD\uFFFD 😀");
  EXPECT_EQ(back.get()[SysStringLen(back.get())], 0);
  EXPECT_EQ(binding::FromBstr(nullptr), "");
}

}  // namespace
}  // namespace jotwell
