// The report's fixed layout.
#include "errors/ReportText.h"

#include "base/LibraryFacts.h"

namespace jotwell {

namespace {

const String kRule(60, '-');
const String kIndent4(4, ' ');
const String kIndent8(8, ' ');
const String kIndent12(12, ' ');

// The report walks its lists with a 16-bit counter.
void CheckCountable(size_t size) {
  if (size > static_cast<size_t>(INT16_MAX)) throw RuntimeError(errnum::kOverflow);
}

String ArrayElementsText(const VariantArray& array) {
  String joined;
  if (array.dimensions.size() != 1) return joined;
  for (const Variant& element : array.elements) {
    std::optional<String> text = element.Text();
    if (!text) continue;
    if (!joined.empty()) joined += " , ";
    joined += *text;
  }
  return joined;
}

// Values without a text form are left out.
void AddValueLine(ReportLines& lines, const String& name, const Variant& value) {
  if (value.IsMissing()) {
    lines.push_back(kIndent12 + name + ": Missing");
  } else if (value.IsArray()) {
    lines.push_back(kIndent12 + name + "() = (" + ArrayElementsText(value.Array()) + ")");
  } else if (std::optional<String> text = value.Text()) {
    lines.push_back(kIndent12 + name + " = " + *text);
  }
}

void AddContextSection(ReportLines& lines, const char* heading,
                       const std::vector<Variant>& names, const std::vector<Variant>& values) {
  CheckCountable(names.size());
  CheckCountable(values.size());
  if (names.empty()) return;
  lines.emplace_back();
  lines.push_back(kIndent8 + heading);
  for (size_t i = 0; i < names.size(); ++i) {
    if (i >= values.size()) throw RuntimeError(errnum::kSubscriptOutOfRange);
    AddValueLine(lines, names[i].TextOrMismatch(), values[i]);
  }
}

}  // namespace

ReportLines RenderReport(const ErrorRecord& error, const String& ModuleName,
                         const String& ProcName, const RegisteredContext& context,
                         std::span<const std::string_view> trace,
                         const platform::LocalDateTime& when) {
  ReportLines lines;
  lines.emplace_back();
  lines.push_back(kRule);
  lines.emplace_back();
  lines.push_back(String("Runtime Error in Project:") + kLibraryName);
  lines.emplace_back();
  lines.push_back("On " + GeneralDateText(when));
  lines.emplace_back();
  lines.push_back("Begin Details");
  lines.emplace_back();
  lines.push_back(kIndent4 + "Error Details:");
  lines.push_back(kIndent8 + "Number: " + std::to_string(error.Number));
  lines.push_back(kIndent8 + "Description: " + error.Description);
  lines.push_back(kIndent8 + "Source: " + error.Source);
  if (error.Line != 0)
    lines.push_back(kIndent8 + "Line of Procedure: " + std::to_string(error.Line));
  lines.push_back(kIndent8 + "LastDllError: " + std::to_string(error.LastDllError));
  lines.emplace_back();
  lines.push_back(kIndent4 + "Procedure [" + ProcName + "] in Module [" + ModuleName + "]");
  AddContextSection(lines, "Arguments:", context.argumentsNames, context.argumentsValues);
  AddContextSection(lines, "Variables:", context.variablesNames, context.variablesValues);
  CheckCountable(trace.size());
  if (!trace.empty()) {
    lines.emplace_back();
    lines.push_back(kIndent8 + "Call Stack:");
    for (std::string_view name : trace) lines.push_back(kIndent12 + ">" + String(name));
  }
  lines.emplace_back();
  lines.push_back("End Details");
  lines.push_back(kRule);
  lines.emplace_back();
  return lines;
}

String JoinReportLines(const ReportLines& lines) {
  String text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace jotwell
