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
// The key's whole text from the INI file; empty when the file, section or
// key is missing.
String INIRead(const String& appname, const String& keyname, const String& FileName);
// The key's number from the INI file, 0 when missing; a number outside the
// 16-bit range is an overflow.
Integer INIReadINT(const String& appname, const String& keyname, const String& FileName);

// Copies every file of the source folder matching the pattern to the
// destination; the number of matching entries handled, failed copies
// included. The folders are plain prefixes of the names.
Long rgbCopyFiles(const String& sSourcePath, const String& sDestination, const String& sFiles);

}  // namespace jotwell::Module1
