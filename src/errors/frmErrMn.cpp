#include "errors/frmErrMn.h"

#include <memory>

#include "errors/CurrentError.h"
#include "platform/regional.h"

namespace jotwell {

namespace {

void CheckSixteenBit(Long value) {
  if (value < INT16_MIN || value > INT16_MAX) throw RuntimeError(errnum::kOverflow);
}

}  // namespace

namespace {

// Owns one error manager of the thread and forgets it when destroyed.
struct Owner {
  std::unique_ptr<frmErrMn> errorManager = std::make_unique<frmErrMn>();
  Owner() { detail::thisThreadErrorManager = errorManager.get(); }
  ~Owner() { detail::thisThreadErrorManager = nullptr; }
};

}  // namespace

frmErrMn& detail::CreateErrorManager() {
  thread_local Owner owner;
  if (thisThreadErrorManager == nullptr) {
    // The thread is ending and its manager is gone, yet a traced call comes
    // (from the destructor of another thread-local, or of a static on the
    // main thread): it gets a manager of its own, freed in turn.
    thread_local Owner late;
    // Later still, one that outlives the thread.
    if (thisThreadErrorManager == nullptr) thisThreadErrorManager = new frmErrMn;
  }
  return *thisThreadErrorManager;
}

frmErrMn::frmErrMn() = default;

void frmErrMn::ReplaceList(std::vector<Variant>& list, const VariantArray& Values) {
  if (Values.dimensions.size() != 1) throw RuntimeError(errnum::kSubscriptOutOfRange);
  const VariantArray::Bounds& bounds = Values.dimensions.front();
  CheckSixteenBit(bounds.lower);
  CheckSixteenBit(bounds.upper);
  std::vector<Variant> replacement;
  for (Long i = 0; i < bounds.Count(); ++i) replacement.push_back(Values.elements.at(i));
  list = std::move(replacement);
}

void frmErrMn::AddArgumentsNames(const VariantArray& Values) { ReplaceList(ArgumentsNames_, Values); }
void frmErrMn::AddArgumentsValues(const VariantArray& Values) { ReplaceList(ArgumentsValues_, Values); }
void frmErrMn::AddVariablesNames(const VariantArray& Values) { ReplaceList(VariablesNames_, Values); }
void frmErrMn::AddVariablesValues(const VariantArray& Values) { ReplaceList(VariablesValues_, Values); }

Long frmErrMn::ExitProgram() { return 0; }

template <class List>
void frmErrMn::ClearCollection(List& list) {
  while (!list.empty()) list.pop_back();
}

Long frmErrMn::DysplayMessage(const String& ModuleName, const String& ProcName) {
  ReportLines report =
      RenderReport(CurrentError(), ModuleName, ProcName,
                   {ArgumentsNames_, ArgumentsValues_, VariablesNames_, VariablesValues_},
                   CallStack_.Names(), platform::UserLocale().Now());
  WriteErrorLog(report);
  txtOutput_ = JoinReportLines(report);
  loaded_ = true;
  ClearCollection(ArgumentsNames_);
  ClearCollection(ArgumentsValues_);
  ClearCollection(VariablesNames_);
  ClearCollection(VariablesValues_);
  ClearCollection(CallStack_);
  std::shared_ptr<Desktop> desktop = CurrentDesktop();
  desktop->Beep();
  if (!visible_) {
    // However the window goes away, it is unloaded afterwards.
    struct Unload {
      frmErrMn& window;
      ~Unload() {
        window.visible_ = false;
        window.loaded_ = false;
        window.txtOutput_.clear();
      }
    } unloadAfterwards{*this};
    visible_ = true;
    desktop->ShowReport(*this);
  } else {
    desktop->RefreshReport(*this);
  }
  Long result = UserChoice_;
  if (result == choice::kAbort) ExitProgram();
  return result;
}

void frmErrMn::cmdCommands_Click(Integer Index) {
  switch (Index) {
    case ReportWindow::kAbortButton: UserChoice_ = static_cast<Integer>(choice::kAbort); break;
    case ReportWindow::kRetryButton: UserChoice_ = static_cast<Integer>(choice::kRetry); break;
    case ReportWindow::kIgnoreButton: UserChoice_ = static_cast<Integer>(choice::kIgnore); break;
    case ReportWindow::kCopyButton: CurrentDesktop()->SetClipboardText(txtOutput_); return;
    default: return;
  }
  loaded_ = false;
}

}  // namespace jotwell
