#!/bin/sh
# Installs the build into a fresh prefix and builds a project outside the
# tree against it twice: with find_package(Jotwell) and with pkg-config.
# Usage: consumer.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix/usr" >/dev/null
cmake -S "$here/consumer" -B "$prefix/with-cmake" -DCMAKE_PREFIX_PATH="$prefix/usr" >/dev/null
cmake --build "$prefix/with-cmake" >/dev/null
libdir=$(dirname "$(find "$prefix/usr" -name libjotwell.so.1 | head -n 1)")
[ -f "$prefix/usr/bin/jotbook" ] || { echo "jotbook was not installed" >&2; exit 1; }
readelf -d "$libdir/libjotwell.so.1" | grep -q 'SONAME.*libjotwell.so.1' || { echo "no SONAME" >&2; exit 1; }
if readelf -S "$libdir/libjotwell.so.1" | grep -q '\.debug_'; then echo "installed with debug information" >&2; exit 1; fi
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
c++ -std=c++20 "$here/consumer/consumer.cpp" $(pkg-config --cflags --libs jotwell) -o "$prefix/with-pkg-config"
"$prefix/with-cmake/consumer" "$prefix/cmake.log"
LD_LIBRARY_PATH="$libdir" "$prefix/with-pkg-config" "$prefix/pkg-config.log"
grep -q ' - from a consumer' "$prefix/cmake.log" "$prefix/pkg-config.log"
echo "consumer.sh: ok"
