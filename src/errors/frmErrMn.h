// The error manager: the thread's call trace and error context, and the
// error report window that shows them.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "base/Variant.h"
#include "jotwell/Desktop.h"

namespace jotwell {

// The choice codes DysplayMessage returns.
namespace choice {
inline constexpr Long kAbort = 3;
inline constexpr Long kRetry = 4;
inline constexpr Long kIgnore = 5;
}  // namespace choice

class frmErrMn final : public ReportWindow {
 public:
  frmErrMn();
  frmErrMn(const frmErrMn&) = delete;
  frmErrMn& operator=(const frmErrMn&) = delete;

  // Each replaces its list by the elements of the array's first dimension.
  // Throws run-time error 9 for an array without exactly one dimension and 6
  // for a bound outside the 16-bit range.
  void AddArgumentsNames(const VariantArray& Values);
  void AddArgumentsValues(const VariantArray& Values);
  void AddVariablesNames(const VariantArray& Values);
  void AddVariablesValues(const VariantArray& Values);
  Long ExitProgram();
  Long DysplayMessage(const String& ModuleName, const String& ProcName);
  void RemoveLastCall();
  void AddCall(const String& strText);
  // A trace name with static storage, which the trace keeps without a copy
  // so that the normal path of a traced procedure allocates nothing.
  struct Literal {
    std::string_view text;
  };
  void AddCall(Literal traceName);

  const std::vector<Variant>& ArgumentsNames() const { return ArgumentsNames_; }
  const std::vector<Variant>& ArgumentsValues() const { return ArgumentsValues_; }
  const std::vector<Variant>& VariablesNames() const { return VariablesNames_; }
  const std::vector<Variant>& VariablesValues() const { return VariablesValues_; }
  std::vector<String> CallStack() const;
  size_t CallDepth() const { return CallStack_.size(); }
  Integer UserChoice() const { return UserChoice_; }

  // The report window.
  const String& Text() const override { return txtOutput_; }
  void PressButton(Integer index) override { cmdCommands_Click(index); }
  bool IsLoaded() const override { return loaded_; }

 private:
  // One call-trace entry: a literal's view, or a view of its own copy of
  // any other text.
  struct TraceEntry {
    std::string_view text;
    std::unique_ptr<String> copy;
    std::string_view Text() const { return text; }
  };
  using Lines = std::vector<String>;

  void ReplaceList(std::vector<Variant>& list, const VariantArray& Values);
  Lines BuildReport(const String& ModuleName, const String& ProcName);
  void AddContextSection(Lines& lines, const char* heading, const std::vector<Variant>& names,
                         const std::vector<Variant>& values);

  String JoinReportLines(const Lines& lines);
  void WriteErrorLog(const Lines& lines);
  void AddValueLine(Lines& lines, const String& name, const Variant& value = Variant::Missing());
  void cmdCommands_Click(Integer Index);
  template <class List>
  void ClearCollection(List& list);

  std::vector<Variant> ArgumentsNames_;
  std::vector<Variant> ArgumentsValues_;
  std::vector<Variant> VariablesNames_;
  std::vector<Variant> VariablesValues_;
  Integer UserChoice_ = 0;
  std::vector<TraceEntry> CallStack_;

  bool loaded_ = false;
  bool visible_ = false;
  String txtOutput_;
};

// The calling thread's error manager, created on first use.
frmErrMn& ErrorManager();

}  // namespace jotwell
