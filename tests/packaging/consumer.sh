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
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ "$examples/minimal/minimal.cpp" $(pkg-config --cflags --libs jotwell) -o "$prefix/with-pkg-config"

# No display: the About window must not wait for a click.
unset DISPLAY WAYLAND_DISPLAY
export LD_LIBRARY_PATH="$libdir"
runs=0
for example in "$prefix/with-cmake/minimal" "$prefix/with-pkg-config" \
               "python3 $examples/python/minimal.py $libdir/libjotwell.so.1"; do
  runs=$((runs + 1))
  # A folder relative to where the example runs.
  printed=$(cd "$prefix" && $example "run$runs")
  [ "$printed" = hello ] || { echo "$example printed '$printed', not hello" >&2; exit 1; }
  grep -q ' - Program started' "$prefix/run$runs/app.log" || { echo "$example logged nothing" >&2; exit 1; }
done
echo "consumer.sh: ok"
