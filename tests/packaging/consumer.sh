#!/bin/sh
# Installs the build into a fresh prefix, then uses it as the README shows:
# builds the C++ example outside the tree with the compiler's default
# standard, with find_package(Jotwell) and with pkg-config, runs both, and
# runs the Python example against the installed library.
# Usage: consumer.sh BUILD_DIR
set -eu
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix/usr" >/dev/null
cmake -S "$examples/minimal" -B "$prefix/with-cmake" -DCMAKE_PREFIX_PATH="$prefix/usr" >/dev/null
cmake --build "$prefix/with-cmake" >/dev/null
libdir=$(dirname "$(find "$prefix/usr" -name libjotwell.so.1 | head -n 1)")
[ -f "$prefix/usr/bin/jotbook" ] || { echo "jotbook was not installed" >&2; exit 1; }
readelf -d "$libdir/libjotwell.so.1" | grep -q 'SONAME.*libjotwell.so.1' || { echo "no SONAME" >&2; exit 1; }
if readelf -S "$libdir/libjotwell.so.1" | grep -q '\.debug_'; then echo "installed with debug information" >&2; exit 1; fi
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ "$examples/minimal/minimal.cpp" $(pkg-config --cflags --libs jotwell) -o "$prefix/with-pkg-config"

# No display: the About window must not wait for a click.
unset DISPLAY WAYLAND_DISPLAY
export LD_LIBRARY_PATH="$libdir"
# run NAME COMMAND...: the example, given a folder relative to where it runs.
run() {
  name=$1
  shift
  printed=$(cd "$prefix" && "$@" "$name")
  [ "$printed" = hello ] || { echo "$name printed '$printed', not hello" >&2; exit 1; }
  grep -q ' - Program started' "$prefix/$name/app.log" || { echo "$name logged nothing" >&2; exit 1; }
}
run cmake "$prefix/with-cmake/minimal"
run pkg-config "$prefix/with-pkg-config"
run python python3 "$examples/python/minimal.py" "$libdir/libjotwell.so.1"
echo "consumer.sh: ok"
