#!/bin/sh
# The Wine prefix the Windows tests run in (WINEPREFIX): "start" makes it
# afresh, "end" stops its server. Wine's first start leaves helpers holding
# its standard streams, which would keep CTest waiting: they go to
# /dev/null.
set -eu
case "${1:-}" in
  start)
    rm -rf "$WINEPREFIX"
    mkdir -p "$XDG_DATA_HOME"
    env -u DISPLAY wineboot -i </dev/null >/dev/null 2>&1
    "$WINESERVER" -w
    ;;
  end)
    "$WINESERVER" -k || true
    ;;
  *)
    echo "usage: $0 start|end" >&2
    exit 2
    ;;
esac
