// The error trap every traced procedure follows. A procedure body is a run
// of statements; each statement runs under the trap, so that after an error
// the user's choice can run it again (Retry), skip it (Ignore) or leave the
// procedure (Abort). On the normal path a call costs one push and one pop of
// its literal trace name and allocates nothing.
//
//   Boolean JotBook::Example(String FileName) {
//     Boolean result;
//     Long RetVal = 0;
//     RunTraced(kExample,
//         [&](Registrations& r) {
//           r.Arguments({{"FileName", FileName}});
//           r.Variables({{"RetVal", RetVal}});
//         },
//         [&](Trap& trap) {
//           trap.Do([&] { RetVal = Work(FileName); });
//           if (trap.If([&] { return RetVal == 0; })) return;
//           trap.Do([&] { result = True; });
//         });
//     return result;
//   }
#pragma once

#include <exception>
#include <initializer_list>
#include <string_view>

#include "base/MemberCall.h"
#include "base/Variant.h"
#include "errors/CurrentError.h"
#include "errors/frmErrMn.h"

namespace jotwell {

// A traced procedure's identity, taken from its literal trace name
// "Module![Kind Name]": the module name and the procedure title.
class Procedure {
 public:
  consteval Procedure(const char* traceName)  // NOLINT: built from literals only
      : trace_(traceName),
        module_(trace_.substr(0, trace_.find("!["))),
        title_(trace_.substr(module_.size() + 2, trace_.size() - module_.size() - 3)) {}

  std::string_view Trace() const { return trace_; }
  std::string_view Module() const { return module_; }
  std::string_view Title() const { return title_; }

 private:
  std::string_view trace_;
  std::string_view module_;
  std::string_view title_;
};

// What a procedure registers when one of its errors is handled, read from
// its live variables at that moment.
class Registrations {
 public:
  struct Named {
    const char* name;
    Variant value;
  };

  explicit Registrations(frmErrMn& errorManager) : errorManager_(errorManager) {}
  void Arguments(std::initializer_list<Named> arguments);
  void Variables(std::initializer_list<Named> variables);

 private:
  frmErrMn& errorManager_;
};

// For procedures that register nothing.
inline constexpr auto NoRegistrations = [](Registrations&) {};

class Trap {
 public:
  template <class Context>
  Trap(const Procedure& procedure, Context& context)
      : procedure_(procedure),
        context_(static_cast<const void*>(&context)),
        register_([](const void* c, Registrations& r) {
          (*static_cast<Context*>(const_cast<void*>(c)))(r);
        }) {}

  // Runs one statement. Its errors go to the generic handler, or, once the
  // procedure has switched to its local error block, to that block.
  template <class Statement>
  void Do(Statement&& statement) {
    if (inLocalBlock_) {
      statement();
      return;
    }
    for (;;) {
      try {
        statement();
        return;
      } catch (const std::exception& caught) {
        if (Handle(caught) != choice::kRetry) return;
      }
    }
  }

  // A branch or loop test, a statement of its own. When the user ignores
  // its error, the branch is entered.
  template <class Test>
  bool If(Test&& test) {
    bool outcome = true;
    Do([&] { outcome = static_cast<bool>(test()); });
    return outcome;
  }

  // Runs the rest of the body with its errors going to `localBlock`, which
  // receives the error; after the block the procedure leaves normally.
  // Errors raised inside the block go to the caller.
  template <class Rest, class LocalBlock>
  void WithLocalBlock(Rest&& rest, LocalBlock&& localBlock) {
    inLocalBlock_ = true;
    try {
      rest();
    } catch (const std::exception& caught) {
      RuntimeError error = AsRuntimeError(caught);
      RecordCurrentError(error);
      localBlock(error);
    }
  }

  // Thrown to leave the procedure after the user chose Abort; not an error.
  struct Leave {};

 private:
  // Shows the report for the error just caught and returns Retry or Ignore;
  // any other choice leaves the procedure.
  Long Handle(const std::exception& caught);

  const Procedure& procedure_;
  const void* context_;
  void (*register_)(const void*, Registrations&);
  bool inLocalBlock_ = false;
};

// Runs `body` as the traced procedure `procedure`: pushes its trace name,
// runs the body, and pops the name on every exit except an Abort.
template <class Context, class Body>
void RunTraced(const Procedure& procedure, Context&& context, Body&& body) {
  frmErrMn& errorManager = ErrorManager();
  Trap trap(procedure, context);
  try {
    trap.Do([&] { errorManager.AddCall(frmErrMn::Literal{procedure.Trace()}); });
    body(trap);
  } catch (const Trap::Leave&) {
    return;
  }
  errorManager.RemoveLastCall();
}

// A public member of JotBook: RunTraced, with the failures the call meets
// kept in its object's `lastFailure`, which the call first clears.
template <class Context, class Body>
void RunMember(JotBook::FailureInfo& lastFailure, const Procedure& procedure, Context&& context,
               Body&& body) {
  MemberCall call(lastFailure);
  RunTraced(procedure, context, body);
}

}  // namespace jotwell
