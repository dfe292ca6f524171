#!/bin/sh
# The example host as shell scripts use it: exit codes, what it prints, the
# one line that says what failed, its own checks, and paths.
# Usage: jotbook.sh JOTBOOK VERSION [LOADER]
#   LOADER: Wine's loader of jotbook.exe's width, which runs it without a
#   display in the prefix WINEPREFIX names.
set -eu
jotbook=$1 loader=${3:-}
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
export XDG_DATA_HOME="$d/data" HOME="$d"
cd "$d"
fail() { echo "jotbook.sh: $*" >&2; exit 1; }
run() {
  if [ -n "$loader" ]; then env -u DISPLAY "$loader" "$jotbook" "$@"; else "$jotbook" "$@"; fi
}

# check CODE STDOUT STDERR ARGUMENT...: the exit code, standard output as a
# pattern (line ends aside), and a text standard error holds ('' for any).
check() {
  code=$1 out=$2 err=$3
  shift 3
  status=0
  run "$@" >"$d/out" 2>"$d/err" || status=$?
  [ "$status" = "$code" ] || fail "$*: exit $status, not $code: $(cat "$d/err")"
  printed=$(tr -d '\r' <"$d/out")
  # shellcheck disable=SC2254
  case $printed in $out) ;; *) fail "$*: printed '$printed'" ;; esac
  [ -z "$err" ] || grep -qF -- "$err" "$d/err" || fail "$*: no '$err' in: $(cat "$d/err")"
}

mkdir in
echo a >in/a.txt
mkdir in/b.txt  # matched and counted, but no file to copy
check 0 "jotbook $2" '' --version
check 0 'usage:*jotbook log --file F*' '' log --help
check 2 '' "unknown command 'bogus'" bogus
check 0 '' '' log --file app.log text
check 0 '[1-9]*' '' log-size --file app.log
check 0 '[1-9]*' '' free-space --file app.log
check 0 app.log '' strip-path app.log
check 0 '' '' end-log --file app.log
check 0 '' '' delete-log --file app.log
[ ! -e app.log ] || fail "delete-log left app.log"
check 0 '' '' log --file 'né à.log' text
check 0 'né à.log' '' strip-path 'né à.log'
check 0 '' '' ini set --ini x.ini S K V
check 0 V '' ini get --ini x.ini S K
check 0 '' '' ini get --ini x.ini S Missing
echo t >t.txt
check 0 '' '' trash t.txt
[ -e "$XDG_DATA_HOME/Trash/files/t.txt" ] && [ ! -e t.txt ] || fail "trash: t.txt is not in the trash"
check 1 '' 'jotbook: no such file' trash missing
check 1 '' 'jotbook: no such file' recent missing
check 1 '' 'jotbook: no such folder' copy none/ out/ '*'
# The demo checks what it met itself: its exit code says.
demo='*raised with run-time error 76.*CopyFiles handled 2 entries*'

if [ -z "$loader" ]; then
  # A C++ host learns from LastFailure what the library shows in its box.
  check 1 '' 'jotbook: WriteEventToLogFile: 76 Path not found' log --file no/app.log text
  check 1 '' 'jotbook: EndLogFileEvents: 53 ' end-log --file missing.log
  check 1 '' 'jotbook: DeleteLogFile: 76 ' delete-log --file missing.log
  check 1 0 'jotbook: SizeOfCurrentLogFile: 76 ' log-size --file missing.log
  check 1 '' 'jotbook: INI_WriteString: 76 Path not found' ini set --ini no/x.ini S K V
  check 1 '' 'jotbook: INI_ReadString: 53 ' ini get --ini none.ini S K
  check 1 '' 'jotbook: StripPath: 53 ' strip-path missing
  check 1 2 'jotbook: CopyFiles: 75 ' copy in/ out/ '*.txt'
  check 0 '' '' recent "  $d/x.ini  "
  grep -qF "href=\"file://$d/x.ini\"" "$XDG_DATA_HOME/recently-used.xbel" || fail "recent: not /x.ini"
  check 0 "$demo" '' --headless demo
  mkdir gone
  cd gone
  rmdir ../gone
  check 1 '' 'jotbook: recent: ' recent x.ini
  echo "jotbook.sh: ok"
  exit 0
fi

# A host of the component learns a failure from a result (False, 0, "") or
# an event; what the component shows only in its box leaves the exit code 0.
check 1 '' 'jotbook: WriteEventToLogFile: 76' log --file no/app.log text
check 1 '' 'jotbook: INI_WriteString: failed' ini set --ini no/x.ini S K V
check 1 '' 'jotbook: StripPath: failed' strip-path missing
check 0 '' 'Unable to close' end-log --file missing.log
check 0 '' 'Unable to delete' delete-log --file missing.log
check 0 0 '' log-size --file missing.log
check 0 '' 'not found, function INI_ReadString' ini get --ini none.ini S K
check 0 2 '' copy in/ out/ '*.txt'
# The path, trimmed, goes to the shell's recent documents in the prefix.
check 0 '' '' recent "  $d/x.ini  "
find "$WINEPREFIX/drive_c/users" -path '*/Recent/x.ini.lnk' -newer x.ini -print -delete |
  grep -q . || fail "recent: no link to x.ini"
check 0 "$demo" '' demo
# Registered, the component is made by name through the system's runtime.
trap 'run unregister || true; rm -rf "$d"' EXIT
check 0 '' '' register
check 0 77 '' call --set MaximumLogFileSize=77 MaximumLogFileSize
check 0 '' '' unregister
trap 'rm -rf "$d"' EXIT
check 1 '' 'run jotbook register' call LogFileName
echo "jotbook.sh: ok"
