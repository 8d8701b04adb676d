#!/usr/bin/env bash
# A second build of the release from the same sources, in folder $2, gives the same vorkelm.exe,
# zip and installer as the one in folder $1; and each download stays under 300 KB.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
second=$(realpath -m "$2")

rm -rf "$second"
cmake -S "$top" -B "$second" --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$second" -j "$(nproc)" --target package >/dev/null
cd "$1"
for file in vorkelm.exe Vorkelm-*-win64.zip Vorkelm-*-win64-setup.exe; do
    cmp "$file" "$second/$file"
done
stat -c '%n: %s bytes, the same in both builds' Vorkelm-*-win64.zip Vorkelm-*-win64-setup.exe
[ "$(stat -c %s Vorkelm-*-win64.zip Vorkelm-*-win64-setup.exe | sort -n | tail -1)" -lt 307200 ] ||
    { echo "FAIL: a download is over 300 KB" >&2; exit 1; }
