#!/bin/sh
# The example host as shell scripts use it: exit codes, what it prints, the
# one line that says what failed, its own checks, and paths.
# Usage: jotbook.sh JOTBOOK VERSION
set -eu
jotbook=$1
d=$(mktemp -d)
trap 'rm -rf "$d"' EXIT
export XDG_DATA_HOME="$d/data" HOME="$d"
cd "$d"
fail() { echo "jotbook.sh: $*" >&2; exit 1; }

# check CODE STDOUT STDERR ARGUMENT...: the exit code, standard output as a
# pattern, and a text standard error holds ('' for any).
check() {
  code=$1 out=$2 err=$3
  shift 3
  status=0
  "$jotbook" "$@" >"$d/out" 2>"$d/err" || status=$?
  [ "$status" = "$code" ] || fail "$*: exit $status, not $code: $(cat "$d/err")"
  # shellcheck disable=SC2254
  case $(cat "$d/out") in $out) ;; *) fail "$*: printed '$(cat "$d/out")'" ;; esac
  [ -z "$err" ] || grep -qF -- "$err" "$d/err" || fail "$*: no '$err' in: $(cat "$d/err")"
}

mkdir in
echo a >in/a.txt
mkdir in/b.txt  # matched and counted, but no file to copy
check 0 "jotbook $2" '' --version
check 0 'usage:*jotbook log --file F*' '' log --help
check 2 '' "unknown command 'bogus'" bogus
check 1 '' 'jotbook: WriteEventToLogFile: 76 Path not found' log --file no/app.log text
check 0 '' '' log --file app.log text
check 1 '' 'jotbook: EndLogFileEvents: 53 ' end-log --file missing.log
check 1 '' 'jotbook: DeleteLogFile: 76 ' delete-log --file missing.log
check 1 0 'jotbook: SizeOfCurrentLogFile: 76 ' log-size --file missing.log
check 1 '' 'jotbook: INI_WriteString: 76 Path not found' ini set --ini no/x.ini S K V
check 0 '' '' ini set --ini x.ini S K V
check 0 V '' ini get --ini x.ini S K
check 0 '' '' ini get --ini x.ini S Missing
check 1 '' 'jotbook: INI_ReadString: 53 ' ini get --ini none.ini S K
check 1 '' 'jotbook: StripPath: 53 ' strip-path missing
check 1 '' 'jotbook: no such file' trash missing
check 1 '' 'jotbook: no such file' recent missing
check 1 '' 'jotbook: no such folder' copy none/ out/ '*'
check 1 2 'jotbook: CopyFiles: 75 ' copy in/ out/ '*.txt'
check 0 '' '' recent "  $d/x.ini  "
grep -qF "href=\"file://$d/x.ini\"" "$XDG_DATA_HOME/recently-used.xbel" || fail "recent: not /x.ini"
mkdir gone
cd gone
rmdir ../gone
check 1 '' 'jotbook: recent: ' recent x.ini
echo "jotbook.sh: ok"
