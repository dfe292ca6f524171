// What the process may take from its environment. A set-ID program runs
// with rights its caller lacks, in an environment its caller chose: that
// environment must not choose the files it writes or the code it runs.
#pragma once

namespace jotwell::platform::posix {

// Whether the process runs with rights its caller lacks: set-user-ID,
// set-group-ID or file capabilities, as the kernel's secure-execution flag
// tells.
bool RunsSetId();

// The variable's value; nullptr when it is unset or the process runs set-ID.
const char* EnvironmentValue(const char* name);

}  // namespace jotwell::platform::posix
