#include "errors/frmErrMn.h"

#include "errors/CurrentError.h"
#include "platform/PerThread.h"
#include "platform/regional.h"

namespace jotwell {

namespace {

void CheckSixteenBit(Long value) {
  if (value < INT16_MIN || value > INT16_MAX) throw RuntimeError(errnum::kOverflow);
}

}  // namespace

// A traced call that comes once the thread's manager is gone (from the
// destructor of another thread-local object, or of a static on the main
// thread) gets a manager of its own, freed in turn, or, once the thread's
// endings have run, one that outlives the thread.
frmErrMn& detail::CreateErrorManager() {
  auto* made = new frmErrMn;
  thisThreadErrorManager = made;
  platform::AtThreadEnd(
      [](void* manager) {
        if (thisThreadErrorManager == manager) thisThreadErrorManager = nullptr;
        delete static_cast<frmErrMn*>(manager);
      },
      made);
  return *made;
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
