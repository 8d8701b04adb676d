#!/usr/bin/env bash
# A second build of the release from the same sources, in a new folder, gives the same bytes as
# the first: vorkelm.exe, the zip and the installer. Each of the two downloads stays under 250 KB.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 FIRST_BUILD_DIR SECOND_BUILD_DIR" >&2
    exit 2
fi
first=$1 second=$2
top=$(cd "$(dirname "$0")/../.." && pwd)

rm -rf "$second"
cmake -S "$top" -B "$second" --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$second" -j "$(nproc)" --target package >/dev/null
cd "$first"
for file in vorkelm.exe Vorkelm-*-win64.zip Vorkelm-*-win64-setup.exe; do
    cmp "$file" "$second/$file" || { echo "FAIL: $file differs between $first and $second" >&2; exit 1; }
done
for file in Vorkelm-*-win64.zip Vorkelm-*-win64-setup.exe; do
    size=$(stat -c %s "$file")
    echo "$file: $size bytes, the same in both builds"
    [ "$size" -lt 256000 ] || { echo "FAIL: $file is over 250 KB" >&2; exit 1; }
done
