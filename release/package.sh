#!/usr/bin/env bash
# Makes the release in OUT_DIR from a built vorkelm.exe: the folder Vorkelm-VERSION-win64 (the
# stripped program, the asset files, the players' README and the licence), its zip, the
# installer, and for packagers SHA256SUMS of the two downloads and, where the release has its
# addresses, a winget manifest set and a Scoop manifest. CONFIG is the release.conf that CMake
# writes (version, title, addresses, the asset files, the signing certificate). With a
# certificate, the program, the uninstaller and the installer are signed.
# Every file gets the time of the last commit and the zip a fixed order, so that two builds of
# one commit give the same bytes. Needs zip and makensis, and osslsigncode for signing.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 VORKELM_EXE STRIP CONFIG OUT_DIR" >&2
    exit 2
fi
exe=$1 strip=$2 out=$4
source "$3"
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
name=Vorkelm-$version-win64
stage=$out/$name
# strip also writes this time into the program's header, instead of the present. Sources
# without their git history get 1980-01-01, the earliest time a zip can hold.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || echo 315532800)}

# One version at a time in the build folder: the tests and the packagers' files take the only one.
rm -rf "$out"/Vorkelm-*-win64 "$out"/Vorkelm-*-win64.zip "$out"/Vorkelm-*-win64-setup.exe \
    "$out"/Vorkelm-*-winget
mkdir -p "$stage"
"$strip" -o "$stage/vorkelm.exe" "$exe"
signing=()
if [ -n "$sign_pfx" ]; then
    bash "$here/sign.sh" "$3" "$stage/vorkelm.exe"
    signing=(-DSIGN_SCRIPT="$here/sign.sh" -DSIGN_CONFIG="$3")
fi
for file in $asset_files; do
    cp "$top/assets/$file" "$stage/"
done
# Notepad reads the texts right with Windows line ends, and the README's Japanese with a byte
# order mark.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$readme"; } >"$stage/README.txt"
sed 's/$/\r/' "$top/LICENSE" >"$stage/LICENSE.txt"

files=$(cd "$stage" && LC_ALL=C ls)
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
(cd "$out" && TZ=UTC zip -X -D -q "$name.zip" $(printf "$name/%s\n" $files))

# The installer installs and removes exactly these files. It finds a running game by the window
# class, the string 109 of the program's resources.
class=$(sed -n 's/^ *IDC_VORKELM "\(.*\)"$/\1/p' "$top/app/vorkelm.rc")
printf '!macro ReleaseFiles action\n' >"$out/release-files.nsh"
printf '    !insertmacro ${action} "%s"\n' $files >>"$out/release-files.nsh"
printf '!macroend\n' >>"$out/release-files.nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION_MAJOR="$version_major" \
    -DVERSION_MINOR="$version_minor" -DTITLE="$title" -DUSER_TITLE="$user_title" \
    -DPUBLISHER="$publisher" -DCOPYRIGHT="$copyright" ${homepage:+-DHOMEPAGE="$homepage"} \
    -DGAME_CLASS="$class" -DSTAGE="$stage" -DFILES="$out/release-files.nsh" \
    -DOUTFILE="$out/$name-setup.exe" "${signing[@]}" "$here/installer.nsi"

bash "$here/manifests.sh" "$3" "$out"
