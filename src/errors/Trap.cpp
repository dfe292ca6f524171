#include "errors/Trap.h"

namespace jotwell {

namespace {

VariantArray NamesOf(std::initializer_list<Registrations::Named> list) {
  std::vector<Variant> names;
  for (const Registrations::Named& named : list) names.emplace_back(named.name);
  return VariantArray::OneDimensional(std::move(names));
}

VariantArray ValuesOf(std::initializer_list<Registrations::Named> list) {
  std::vector<Variant> values;
  for (const Registrations::Named& named : list) values.push_back(named.value);
  return VariantArray::OneDimensional(std::move(values));
}

}  // namespace

void Registrations::Arguments(std::initializer_list<Named> arguments) {
  errorManager_.AddArgumentsNames(NamesOf(arguments));
  errorManager_.AddArgumentsValues(ValuesOf(arguments));
}

void Registrations::Variables(std::initializer_list<Named> variables) {
  errorManager_.AddVariablesNames(NamesOf(variables));
  errorManager_.AddVariablesValues(ValuesOf(variables));
}

Long Trap::Handle(const std::exception& caught) {
  RecordCurrentError(AsRuntimeError(caught));
  frmErrMn& errorManager = ErrorManager();
  Registrations registrations(errorManager);
  register_(context_, registrations);
  Long chosen = errorManager.DysplayMessage(String(procedure_.Module()),
                                            String(procedure_.Title()));
  if (chosen == choice::kRetry || chosen == choice::kIgnore) return chosen;
  throw Leave{};
}

}  // namespace jotwell
