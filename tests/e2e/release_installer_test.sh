#!/usr/bin/env bash
# The installer, in a fresh Wine prefix, silent both ways: an installation that cannot write its
# files fails and leaves nothing; a good one puts the release's files into Program Files with an
# uninstaller, registers it, and its Start-menu shortcut starts the game in its folder, where it
# draws the machine from its pictures; uninstalling leaves no file, shortcut or registry entry.
source "$(dirname "$0")/lib.sh"

release=$(dirname "$game_exe")
setup=$(echo "$release"/Vorkelm-*-win64-setup.exe)
fresh_prefix

drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Vorkelm"
shortcut_path="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$TITLE.lnk"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$TITLE.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm'

nothing_installed() {
    [ ! -e "$installed" ] && [ ! -e "$shortcut" ] && ! wine reg query "$key" >/dev/null 2>&1
}

registered() {
    wine reg query "$key" /v "$1" | iconv -f CP932 -t UTF-8 | tr -d '\r' | grep -q "REG_SZ *$2\$"
}

# A file that cannot be written: a folder stands where the program should go.
mkdir -p "$drive_c/blocked/vorkelm.exe"
! wine "$setup" /S '/D=C:\blocked' || fail "an installation that could not write its files succeeded"
nothing_installed || fail "a failed installation left a shortcut or an entry behind"
[ "$(ls "$drive_c/blocked")" = vorkelm.exe ] || fail "a failed installation left files behind"

wine "$setup" /S || fail "the installation failed"
diff -r -x uninstall.exe "$release/$(basename "$setup" -setup.exe)" "$installed" ||
    fail "the installed files are not the release's"
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller"
registered DisplayName "$TITLE" && registered DisplayVersion 1.0 &&
    registered Publisher '.*[a-z].*' && registered DisplayIcon 'C:\\Program Files\\Vorkelm\\vorkelm.exe,0' ||
    fail "Add/Remove Programs does not show the game's name, version, publisher and icon"

# Wine opens the shortcut as Explorer does. The game is not our child then: its window tells.
game_pid=
wine start "$shortcut_path" >>"$shots/wine.log" 2>&1
poll 60 find_window "^Vorkelm" || fail "the shortcut started no game"
game_pid=$(xdotool getwindowpid "$found")
take_window "$found"
poll 10 machine_drawn || fail "the game started through its shortcut does not draw its pictures"
echo "the installed game draws the machine: mean brightness $(brightness machine "${MACHINE[@]}")"
stop_game

# The uninstaller runs from a copy of itself in the temporary folder and returns at once.
wine "$installed/uninstall.exe" /S || fail "the uninstaller failed"
wineserver -w
nothing_installed || fail "the uninstaller left a file, the shortcut or the registry entry"
