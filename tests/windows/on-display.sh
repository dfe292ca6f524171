#!/bin/sh
# Runs a Windows test program under Wine on a display of its own, at DPI
# dots per inch: Xvfb, the prefix's server started afresh on it (its
# desktop process holds the clipboard), and windows that Wine frames and
# places itself, since no window manager runs (a managed window waits two
# seconds for one to let it go). The free look-alikes of the windows' fonts
# stand in for them. Usage: on-display.sh DPI PROGRAM [ARG...]
set -eu
dpi=$1
shift
scratch=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
stop() {
  "$WINESERVER" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap stop EXIT
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "on-display.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$scratch/display")
export DISPLAY
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
"$JOTWELL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
"$JOTWELL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for font in 'Comic Sans MS=Comic Neue' 'Courier New=Liberation Mono' 'Arial=Liberation Sans'; do
  "$JOTWELL_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" \
    /d "${font#*=}" /f >/dev/null 2>&1
done
"$JOTWELL_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
  >/dev/null 2>&1
"$WINESERVER" -w
status=0
"$JOTWELL_WINE" "$@" || status=$?
"$JOTWELL_WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
exit $status
