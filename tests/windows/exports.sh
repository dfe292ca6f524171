#!/bin/sh
# Jotwell.dll exports exactly the four entry points of an in-process
# component server with their ordinals, and imports from nothing but the
# system's own DLLs (the compiler's runtime is linked in).
# Usage: exports.sh OBJDUMP DLL
set -eu
headers=$("$1" -p "$2")
exports=$(printf '%s\n' "$headers" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p')
expected="0 DllCanUnloadNow
1 DllGetClassObject
2 DllRegisterServer
3 DllUnregisterServer"
if [ "$exports" != "$expected" ]; then
  printf 'exports:\n%s\nexpected (ordinal base 1):\n%s\n' "$exports" "$expected" >&2
  exit 1
fi
printf '%s\n' "$headers" | grep -q '^Ordinal Base[[:space:]]*1$' || { echo "ordinals do not start at 1" >&2; exit 1; }
imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
system='^(kernel32|user32|gdi32|comctl32|advapi32|shell32|ole32|oleaut32|msvcrt)\.dll$'
stray=$(printf '%s\n' "$imports" | grep -Ev "$system" || true)
if [ -n "$stray" ]; then
  printf 'imports beyond the system:\n%s\n' "$stray" >&2
  exit 1
fi
printf 'exports.sh: ok (imports: %s)\n' "$(printf '%s' "$imports" | tr '\n' ' ')"
