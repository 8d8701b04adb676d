#!/usr/bin/env bash
# The installer in a fresh Wine prefix, silent both ways: one that cannot write a file fails and
# leaves nothing; a good one installs the release's files, registers them for Add/Remove Programs,
# and its Start-menu shortcut starts the game in its folder, drawing its pictures; uninstalling
# leaves no file, shortcut or registry entry.
source "$(dirname "$0")/lib.sh"

setup=$(echo "$(dirname "$game_exe")"/Vorkelm-*-win64-setup.exe)
fresh_prefix
c=$WINEPREFIX/drive_c
installed="$c/Program Files/Vorkelm"
shortcut="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$TITLE.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm'

nothing_installed() {
    [ ! -e "$installed" ] && [ ! -e "$(winepath -u "$shortcut")" ] &&
        ! wine reg query "$key" >/dev/null 2>&1
}

mkdir -p "$c/blocked/vorkelm.exe" # a folder where the program should go
! wine "$setup" /S '/D=C:\blocked' || fail "an installation that could not write a file succeeded"
nothing_installed && [ "$(ls "$c/blocked")" = vorkelm.exe ] ||
    fail "a failed installation left files, a shortcut or a registry entry"

wine "$setup" /S || fail "the installation failed"
diff -r -x uninstall.exe "${setup%-setup.exe}" "$installed" && [ -f "$installed/uninstall.exe" ] ||
    fail "Program Files\\Vorkelm does not hold the release's files and the uninstaller"
registered=$(wine reg query "$key" | iconv -f CP932 -t UTF-8 | tr -d '\r')
[ "$(grep -Ec "^ +(DisplayName +REG_SZ +$TITLE|DisplayVersion +REG_SZ +1\.0|Publisher +REG_SZ +.+|\
DisplayIcon +REG_SZ +.*\\\\vorkelm\.exe,0)\$" <<<"$registered")" = 4 ] ||
    fail "Add/Remove Programs lacks the game's name, version, publisher or icon: $registered"

# Opened as Explorer opens it, the game is no child of ours: its window leads to it.
wine start "$shortcut" >>"$shots/wine.log" 2>&1
poll 60 find_window "^Vorkelm" || fail "the shortcut started no game"
game_pid=$(xdotool getwindowpid "$found")
take_window "$found"
poll 10 machine_drawn || fail "the game started through its shortcut does not draw its pictures"
stop_game

# The uninstaller works from a copy of itself and returns at once; wineserver -w waits for it.
wine "$installed/uninstall.exe" /S && wineserver -w || fail "the uninstaller failed"
nothing_installed || fail "the uninstaller left a file, the shortcut or the registry entry"
