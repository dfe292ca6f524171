#!/bin/sh
# The library exports its entry points, the string and variant helpers and
# the public C++ API, and nothing else.
# Usage: exports.sh LIBRARY
set -eu
symbols=$(nm -D --defined-only -C "$1" | sed 's/^[0-9a-f]* [A-Za-z] //')
entry='^(Dll(GetClassObject|CanUnloadNow|RegisterServer|UnregisterServer)|Sys(AllocString|AllocStringLen|FreeString|StringLen)|Variant(Init|Clear)|JotwellCreateObject)$'
public='^((vtable|typeinfo|typeinfo name) for )?jotwell::((JotBook|JotBookEvents|RuntimeError|Currency|Desktop|ReportWindow|AboutWindow|testing::ScriptedDesktop)::|(JotBook|JotBookEvents|RuntimeError|Desktop|ReportWindow|AboutWindow|testing::ScriptedDesktop)$|(SetDesktop|HeadlessDesktop|CurrentDesktop|DescriptionOf)[[(])'
stray=$(printf '%s\n' "$symbols" | grep -Ev "$entry" | grep -Ev "$public" || true)
private=$(printf '%s\n' "$symbols" | grep -E 'jotwell::JotBook::Private' || true)
if [ -n "$stray$private" ]; then
  printf 'exported but not public:\n%s\n%s\n' "$stray" "$private" >&2
  exit 1
fi
for name in DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer SysAllocString \
            SysAllocStringLen SysFreeString SysStringLen VariantInit VariantClear JotwellCreateObject \
            'jotwell::JotBook::WriteEventToLogFile' 'jotwell::SetDesktop' 'typeinfo for jotwell::RuntimeError'; do
  printf '%s\n' "$symbols" | grep -q "^$name" || { echo "missing export: $name" >&2; exit 1; }
done
echo "exports.sh: ok"
