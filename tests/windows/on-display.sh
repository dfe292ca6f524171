#!/bin/sh
# Runs a Windows test program under Wine on a display of its own, at DPI
# dots per inch: Xvfb, the prefix's server started afresh on it (its
# desktop process holds the clipboard), and windows that Wine frames and
# places itself, since no window manager runs (a managed window waits two
# seconds for one to let it go). The free look-alikes of the windows' fonts
# stand in for them. The prefix gets its settings back however the run
# ends. Usage: on-display.sh DPI PROGRAM [ARG...]
set -eu
dpi=$1
shift
x11='HKCU\Software\Wine\X11 Driver'
fonts='HKCU\Software\Wine\Fonts\Replacements'
desktop='HKCU\Control Panel\Desktop'
scratch=$(mktemp -d)
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
reg() { "$JOTWELL_WINE" reg "$@" >/dev/null 2>&1 || true; }
stop() {
  reg delete "$x11" /f
  reg delete "$fonts" /f
  reg delete "$desktop" /v LogPixels /f
  "$WINESERVER" -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 143' INT TERM HUP
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
[ -s "$scratch/display" ] || { echo "on-display.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$scratch/display")
export DISPLAY
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w
reg add "$x11" /v Decorated /d N /f
reg add "$x11" /v Managed /d N /f
reg add "$fonts" /v 'Comic Sans MS' /d 'Comic Neue' /f
reg add "$fonts" /v 'Courier New' /d 'Liberation Mono' /f
reg add "$fonts" /v Arial /d 'Liberation Sans' /f
reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
"$WINESERVER" -w
"$JOTWELL_WINE" "$@"
