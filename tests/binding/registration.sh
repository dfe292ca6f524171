#!/bin/sh
# Registers the component, drives it late bound through `jotbook call` as a
# shell script would, and unregisters it, leaving the record as it was.
# Usage: registration.sh JOTBOOK
set -eu
jotbook=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export XDG_DATA_HOME="$dir/data" HOME="$dir"
fail() { echo "registration.sh: $*" >&2; exit 1; }

"$jotbook" unregister
"$jotbook" call LogFileName 2>/dev/null && fail "call succeeded before registration"
[ ! -e "$XDG_DATA_HOME" ] || fail "unregistering or calling made folders"
mkdir -p "$XDG_DATA_HOME/jotwell"
printf '[Other]\nkey=kept\n' >"$XDG_DATA_HOME/jotwell/components.ini"
before=$(cat "$XDG_DATA_HOME/jotwell/components.ini")
"$jotbook" register
"$jotbook" call --set LogFileName="$dir/x.log" WriteEventToLogFile "text" 2>/dev/null
grep -q ' - text' "$dir/x.log" || fail "the event line is missing"
[ "$("$jotbook" call --set MaximumLogFileSize=77 MaximumLogFileSize 2>/dev/null)" = 77 ] || fail "property round trip"
if "$jotbook" call Bogus 2>"$dir/err"; then fail "Bogus succeeded"; fi
grep -q DISP_E_UNKNOWNNAME "$dir/err" || fail "Bogus: $(cat "$dir/err")"
"$jotbook" unregister
[ "$(cat "$XDG_DATA_HOME/jotwell/components.ini")" = "$before" ] || fail "the record changed"
if "$jotbook" call LogFileName 2>"$dir/err"; then fail "call succeeded unregistered"; fi
grep -q 'not registered' "$dir/err" || fail "unregistered: $(cat "$dir/err")"
echo "registration.sh: ok"
