#!/bin/sh
# The registration round trip through regsvr32, of a copy of the DLL in a
# folder whose name holds a space and letters beyond ASCII, as installed
# programs' folders do: the class, its programmatic name, its type library
# and both interfaces land in the registry, a script creates the object by
# name, and unregistering, even after registering twice, leaves the
# machine's and the user's classes exactly as they were, after which the
# script can no longer create it.
# Usage: registration.sh WINE DLL PROGRAMS SCRATCH_PARENT
#   PROGRAMS: the prefix's system folder of the DLL's width (system32, or
#   syswow64 for a 32-bit DLL).
set -eu
wine=$1 dll=$2 programs=$3 parent=$4
dir=$(mktemp -d "$parent/registration.XXXXXX")
name=registration.sh
. "$(dirname "$0")/wine-programs.sh"
mkdir "$dir/Jöt Wéll"
cp "$dll" "$dir/Jöt Wéll/Jotwell.dll"
dll="$dir/Jöt Wéll/Jotwell.dll"

clsid='{04229DBD-EDDA-4E43-B75F-66A8ECD82D0C}'
libid='{064180FE-2E1A-47B3-ABB0-4EFAC03FF5C9}'
dual='{A1024EC0-363B-4765-875C-D95170A8EECA}'
events='{CFA7FB03-7641-43D5-BDCD-2C0B115C297D}'
# The system's marshalers: the type library's for the dual interface, plain
# IDispatch's for the event dispinterface, which is only ever invoked.
typelib_marshaler='{00020424-0000-0000-C000-000000000046}'
dispatch_marshaler='{00020420-0000-0000-C000-000000000046}'
bits=64
[ "$programs" = system32 ] || bits=32

# The machine's and the user's classes as text, one file. The 64-bit reg
# sees both registry views. The user's classes may not exist yet: its
# whole software key is exported, and only the classes kept.
classes() {
  env -u DISPLAY "$wine" reg export 'HKLM\Software\Classes' "$(windows "$dir")\\machine.reg" /y \
    >/dev/null || fail "exporting the machine's classes failed"
  env -u DISPLAY "$wine" reg export 'HKCU\Software' "$(windows "$dir")\\user.reg" /y \
    >/dev/null || fail "exporting the user's software failed"
  {
    iconv -f UTF-16 -t UTF-8 "$dir/machine.reg"
    iconv -f UTF-16 -t UTF-8 "$dir/user.reg" | awk '
      /^\[/ { key = tolower($0)
              keep = index(key, "[hkey_current_user\\software\\classes]") == 1 ||
                     index(key, "[hkey_current_user\\software\\classes\\") == 1 }
      keep'
  } | tr -d '\r' >"$1"
}

# Fails unless the classes in FILE hold LINE under KEY, in either root and
# either view.
expect() {
  # Through the environment: awk would read escapes in -v values.
  key=$2 line=$3 awk '
    /^\[/ {
      name = tolower($0)
      sub(/^\[hkey_(local_machine|current_user)\\software\\classes\\(wow6432node\\)?/, "", name)
      inside = name == tolower(ENVIRON["key"]) "]"
      next
    }
    inside && $0 == ENVIRON["line"] { found = 1 }
    END { exit !found }' "$1" || fail "$2 lacks $3"
}

# What CreateObject meets: the error number, 0 when created.
creation() {
  printf '%s\r\n' 'On Error Resume Next' 'Set book = CreateObject("Jotwell.JotBook")' \
    'WScript.Echo "create: " & Err.Number' >"$dir/create.vbs"
  run cscript //nologo "$(windows "$dir/create.vbs")" | tr -d '\r'
}

# The first script a fresh prefix runs registers the script host's own type
# libraries: it runs before the classes are taken.
created=$(creation)
[ "$created" = "create: 429" ] || fail "CreateObject before registering: $created"
classes "$dir/before"
registered=yes
run regsvr32 /s "$(windows "$dll")" || fail "regsvr32 failed with $?"
classes "$dir/registered"

library=$(windows "$dll" | sed 's/\\/\\\\/g')
expect "$dir/registered" "CLSID\\$clsid" '@="Jotwell.JotBook"'
expect "$dir/registered" "CLSID\\$clsid\\InprocServer32" "@=\"$library\""
expect "$dir/registered" "CLSID\\$clsid\\InprocServer32" '"ThreadingModel"="Apartment"'
expect "$dir/registered" "CLSID\\$clsid\\ProgID" '@="Jotwell.JotBook"'
expect "$dir/registered" "CLSID\\$clsid\\TypeLib" "@=\"$libid\""
expect "$dir/registered" "Jotwell.JotBook\\CLSID" "@=\"$clsid\""
expect "$dir/registered" "TypeLib\\$libid\\1.1" '@="Jotwell"'
expect "$dir/registered" "TypeLib\\$libid\\1.1\\409\\win$bits" "@=\"$library\""
expect "$dir/registered" "Interface\\$dual" '@="_JotBook"'
expect "$dir/registered" "Interface\\$dual\\ProxyStubClsid32" "@=\"$typelib_marshaler\""
expect "$dir/registered" "Interface\\$dual\\TypeLib" "@=\"$libid\""
expect "$dir/registered" "Interface\\$dual\\TypeLib" '"Version"="1.1"'
expect "$dir/registered" "Interface\\$events" '@="__JotBook"'
expect "$dir/registered" "Interface\\$events\\ProxyStubClsid32" "@=\"$dispatch_marshaler\""
expect "$dir/registered" "Interface\\$events\\TypeLib" "@=\"$libid\""

# As an installer's repair does; one unregistering still removes it all.
run regsvr32 /s "$(windows "$dll")" || fail "registering again failed with $?"
created=$(creation)
[ "$created" = "create: 0" ] || fail "CreateObject while registered: $created"

registered=
run regsvr32 /s /u "$(windows "$dll")" || fail "regsvr32 /u failed with $?"
classes "$dir/after"
diff -u "$dir/before" "$dir/after" || fail "unregistering left the classes changed"
created=$(creation)
[ "$created" = "create: 429" ] || fail "CreateObject after unregistering: $created"
run regsvr32 /s /u "$(windows "$dll")" || fail "unregistering the unregistered failed with $?"
echo "registration.sh: ok"
