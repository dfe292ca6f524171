// The type library's IDL against the member table, member by member, and
// against the fixed identifiers.
#include <regex>

#include "binding/MemberTable.h"
#include "binding/Registration.h"
#include "jotwell/JotBookComponent.h"
#include "support/TestSupport.h"

namespace jotwell {
namespace {

using binding::Kind;
using binding::Mode;
using binding::Type;

constexpr const char* kIdlTypes[] = {"void", "BSTR", "VARIANT_BOOL", "short", "long", "CURRENCY"};
std::string IdlType(Type type) { return kIdlTypes[static_cast<int>(type)]; }

// The line the IDL must hold for a row of the table.
std::string Declaration(const binding::Member& m) {
  char id[16];
  std::snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(m.id));
  std::string line = std::string("[id(") + id + ")" + (m.kind == Kind::Get ? ", propget" : m.kind == Kind::Let ? ", propput" : "") +
                     "] HRESULT " + m.name + "(";
  for (const binding::Parameter& p : m.Parameters())
    line += (p.mode == Mode::ByReference ? "[in, out] " + IdlType(p.type) + "* " : "[in] " + IdlType(p.type) + " ") + p.name + ", ";
  if (m.result != Type::None) line += "[out, retval] " + IdlType(m.result) + "* result, ";
  if (line.ends_with(", ")) line.resize(line.size() - 2);
  return line + ");";
}

TEST(IdlTest, DescribesTheTableMemberByMemberWithTheFixedIdentifiers) {
  std::string idl = test::ReadFile(JOTWELL_IDL_PATH);
  std::string dual = idl.substr(idl.find("interface _JotBook : IDispatch {"));
  dual = dual.substr(0, dual.find("};"));
  std::regex member(R"(\[id\([^\n]*\);)");
  std::vector<std::string> declared(std::sregex_token_iterator(dual.begin(), dual.end(), member), {});
  std::vector<std::string> expected;
  for (const binding::Member& m : binding::kMembers) expected.push_back(Declaration(m));
  EXPECT_EQ(declared, expected);

  for (const GUID* id : {&LIBID_Jotwell, &IID__JotBook, &DIID___JotBook, &CLSID_JotBook})
    EXPECT_THAT(idl, ::testing::HasSubstr("uuid(" + binding::GuidText(*id).substr(1, 36) + ")"));
  std::regex typeDescription(R"(\n    (interface \w+ :|dispinterface \w+ \{|coclass \w+ \{))");
  EXPECT_EQ(std::distance(std::sregex_iterator(idl.begin(), idl.end(), typeDescription), std::sregex_iterator()), 3);
}

}  // namespace
}  // namespace jotwell
