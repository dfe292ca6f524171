// The report's text as a function of what it shows: the current error, the
// failing procedure, its registered context, the call trace and the moment.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "base/Variant.h"
#include "errors/CurrentError.h"
#include "platform/regional.h"

namespace jotwell {

// The registry's four context lists; names and values pair by position.
struct RegisteredContext {
  const std::vector<Variant>& argumentsNames;
  const std::vector<Variant>& argumentsValues;
  const std::vector<Variant>& variablesNames;
  const std::vector<Variant>& variablesValues;
};

using ReportLines = std::vector<String>;

// The report's lines. Throws subscript out of range (9) when a name has no
// value, and overflow (6) when a list is too long for a 16-bit counter.
ReportLines RenderReport(const ErrorRecord& error, const String& ModuleName,
                         const String& ProcName, const RegisteredContext& context,
                         std::span<const std::string_view> trace,
                         const platform::LocalDateTime& when);

// The lines joined by CR LF, as the window shows them and the log keeps them.
String JoinReportLines(const ReportLines& lines);

}  // namespace jotwell
