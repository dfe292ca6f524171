#!/bin/sh
# Registers the DLL, runs members.vbs against it in a fresh folder under
# the build tree, and unregisters it. cscript exits 0 after a script error,
# so the script's success line decides, with its exit code (the mismatches).
# Usage: members.sh WINE DLL PROGRAMS SCRATCH_PARENT
#   PROGRAMS: the prefix's system folder of the DLL's width (system32, or
#   syswow64 for a 32-bit DLL).
set -eu
wine=$1 dll=$2 programs=$3 parent=$4
script=$(dirname "$0")/members.vbs
dir=$(mktemp -d "$parent/members.XXXXXX")
name=members.sh
. "$(dirname "$0")/wine-programs.sh"

run regsvr32 /s "$(windows "$dll")" || fail "regsvr32 failed with $?"
registered=yes
status=0
run cscript //nologo "$(windows "$script")" "$(windows "$dir")" >"$dir/output" || status=$?
tr -d '\r' <"$dir/output"
tr -d '\r' <"$dir/output" | grep -qx 'members: ok' ||
  fail "no success line: a mismatch above, or a script error, which Wine's cscript leaves unsaid"
[ "$status" = 0 ] || fail "cscript exited with $status"
registered=
run regsvr32 /s /u "$(windows "$dll")" || fail "regsvr32 /u failed with $?"
