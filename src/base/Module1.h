// The standard module's procedures.
#pragma once

#include "base/Variant.h"

namespace jotwell::Module1 {

// The start-up routine: runs when the first JotBook of a thread is created.
void Main();
// Plays the exclamation sound.
void Sound();
// Hands a verb and a document or address to the desktop.
void RunShellExecute(String& sTopic, Variant& sFile, Variant& sParams, Variant& sDirectory,
                     Long& nShowCmd);

}  // namespace jotwell::Module1
