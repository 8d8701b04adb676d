#!/usr/bin/env bash
# Makes the release in OUT_DIR from a built vorkelm.exe: the folder Vorkelm-VERSION-win64 (the
# stripped program, the asset files and the players' README), its zip, and the installer.
# Every file gets the time of the last commit and the zip a fixed order, so that two builds of
# one commit give the same bytes. Needs zip and makensis.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 VORKELM_EXE STRIP VERSION OUT_DIR" >&2
    exit 2
fi
exe=$1 strip=$2 version=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
name=Vorkelm-$version-win64
stage=$out/$name
# strip also writes this time into the program's header, instead of the present. Sources
# without their git history get 1980-01-01, the earliest time a zip can hold.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || echo 315532800)}

rm -rf "$stage" "$out/$name.zip" "$out/$name-setup.exe"
mkdir -p "$stage"
"$strip" -o "$stage/vorkelm.exe" "$exe"
cp "$top"/assets/*.bmp "$top"/assets/*.wav "$stage/"
# Notepad reads the README right with a byte order mark and Windows line ends.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$here/README.txt"; } >"$stage/README.txt"

files=$(cd "$stage" && LC_ALL=C ls)
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
(cd "$out" && TZ=UTC zip -X -D -q "$name.zip" $(printf "$name/%s\n" $files))

# The installer installs and removes exactly these files.
printf '!macro ReleaseFiles action\n' >"$out/release-files.nsh"
printf '    !insertmacro ${action} "%s"\n' $files >>"$out/release-files.nsh"
printf '!macroend\n' >>"$out/release-files.nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" \
    -DFILES="$out/release-files.nsh" -DOUTFILE="$out/$name-setup.exe" "$here/installer.nsi"
