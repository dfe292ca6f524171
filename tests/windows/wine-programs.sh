# Sourced by the scripts that drive the prefix's own programs, after they
# set name, wine, dll, programs and dir: a path as Windows names it, a
# program of the DLL's width, the one failure line, and, should the script
# stop while the DLL is registered, its unregistration, so that the tests
# after it find the prefix clean. The scratch folder goes in every case.
fail() { printf '%s: %s\n' "$name" "$*" >&2; exit 1; }
windows() { printf 'Z:%s' "$(realpath "$1")" | tr / '\\'; }
run() {
  program=$1
  shift
  env -u DISPLAY "$wine" "C:\\windows\\$programs\\$program.exe" "$@"
}
registered=
trap 'if [ -n "$registered" ]; then run regsvr32 /s /u "$(windows "$dll")" || true; fi
      rm -rf "$dir"' EXIT
