// The error manager: the thread's call trace and error context, and the
// error report window that shows them.
#pragma once

#include <string_view>
#include <vector>

#include "base/Variant.h"
#include "errors/CallTrace.h"
#include "errors/ReportText.h"
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
  // Deep enough that ordinary call chains never grow the trace.
  static constexpr size_t kInitialTraceCapacity = 256;

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
  void RemoveLastCall() {
    if (!CallStack_.empty()) CallStack_.pop_back();
  }
  // A trace name with static storage: every library procedure pushes a
  // literal, which the trace keeps without a copy, so that the normal path
  // of a traced procedure allocates nothing.
  struct Literal {
    std::string_view text;
  };
  void AddCall(Literal strText) { CallStack_.push_back(strText.text); }

  const std::vector<Variant>& ArgumentsNames() const { return ArgumentsNames_; }
  const std::vector<Variant>& ArgumentsValues() const { return ArgumentsValues_; }
  const std::vector<Variant>& VariablesNames() const { return VariablesNames_; }
  const std::vector<Variant>& VariablesValues() const { return VariablesValues_; }
  std::span<const std::string_view> CallStack() const { return CallStack_.Names(); }
  size_t CallDepth() const { return CallStack_.size(); }
  Integer UserChoice() const { return UserChoice_; }

  // The report window.
  const String& Text() const override { return txtOutput_; }
  void PressButton(Integer index) override { cmdCommands_Click(index); }
  bool IsLoaded() const override { return loaded_; }

 private:
  void ReplaceList(std::vector<Variant>& list, const VariantArray& Values);
  void WriteErrorLog(const ReportLines& lines);
  void cmdCommands_Click(Integer Index);
  template <class List>
  void ClearCollection(List& list);

  std::vector<Variant> ArgumentsNames_;
  std::vector<Variant> ArgumentsValues_;
  std::vector<Variant> VariablesNames_;
  std::vector<Variant> VariablesValues_;
  Integer UserChoice_ = 0;
  CallTrace CallStack_{kInitialTraceCapacity};

  bool loaded_ = false;
  bool visible_ = false;
  String txtOutput_;
};

namespace detail {
// The calling thread's error manager once it exists. Every traced call
// reaches it, so it is one trivially initialised pointer: no guard and no
// wrapper call, only the thread-local access itself. Being an inline
// variable, it is one object in the whole process (a unique symbol), shared
// by the library and any program that includes this header.
inline thread_local frmErrMn* thisThreadErrorManager = nullptr;
// Creates the calling thread's error manager, owned by the thread.
frmErrMn& CreateErrorManager();
}  // namespace detail

// The calling thread's error manager, created on first use.
inline frmErrMn& ErrorManager() {
  frmErrMn* errorManager = detail::thisThreadErrorManager;
  return errorManager ? *errorManager : detail::CreateErrorManager();
}

}  // namespace jotwell
