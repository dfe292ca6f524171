#!/bin/sh
# The README quotes each example whole, in the fenced block after the line
# naming the file, so what it shows is what the tests build and run.
# Usage: readme-examples.sh REPOSITORY
set -eu
cd "$1"
for file in examples/minimal/CMakeLists.txt examples/minimal/minimal.cpp examples/python/minimal.py; do
  awk -v name="\`$file\`:" '
    quoting && /^```$/ { exit }
    quoting { print }
    named && /^```/ { quoting = 1 }
    { named = $0 == name }' README.md | cmp -s - "$file" ||
    { echo "README.md does not quote $file as it is" >&2; exit 1; }
done
echo "readme-examples.sh: ok"
