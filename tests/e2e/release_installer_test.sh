#!/usr/bin/env bash
# The installer as players and package managers run it, silently, each case in a fresh Wine prefix:
# - one that cannot write a file fails and leaves nothing; a good one installs the release's files
#   and registers them for Add/Remove Programs; uninstalling keeps a file the player added, with
#   its folder, and leaves nothing else;
# - installed with /D= and then again without it, there is one copy, in the first folder, and one
#   entry; its Start-menu shortcut starts the game, drawing its pictures; while the game runs,
#   installing and uninstalling fail and change nothing, and so does an upgrade that cannot
#   replace a file; uninstalling removes the parent folder that the installer made;
# - /CurrentUser installs under the user's own folders and HKCU only, and uninstalls to nothing.
source "$(dirname "$0")/lib.sh"

setup=$(echo "$(dirname "$game_exe")"/Vorkelm-*-win64-setup.exe)
release=${setup%-setup.exe}
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm'
version=$(basename "$release" | cut -d - -f 2)

# Points the checks below at an installation: folder (Windows path), registry root, shortcut.
at() {
    folder=$1 root=$2 shortcut="$3\\$TITLE.lnk"
    unix_folder=$(winepath -u "$folder")
}

nothing_installed() {
    [ ! -e "$unix_folder" ] && [ ! -e "$(winepath -u "$shortcut")" ] &&
        ! wine reg query "$root\\$key" >/dev/null 2>&1
}

# The release's files and the uninstaller, exactly.
release_installed() {
    diff -r -x uninstall.exe "$release" "$unix_folder" >/dev/null && [ -f "$unix_folder/uninstall.exe" ]
}

# One Add/Remove entry, in the given root, naming this folder, with what Windows shows of it.
registered_here() {
    local other=HKLM entry
    [ "$root" = HKLM ] && other=HKCU
    ! wine reg query "$other\\$key" >/dev/null 2>&1 || return 1
    entry=$(wine reg query "$root\\$key" | iconv -f CP932 -t UTF-8 | tr -d '\r')
    [ "$(grep -Ec "^ +(DisplayName +REG_SZ +$TITLE|DisplayVersion +REG_SZ +$version|Publisher +REG_SZ +.+|\
DisplayIcon +REG_SZ +.*\\\\vorkelm\.exe,0|InstallLocation +REG_SZ +${folder//\\/\\\\}|\
VersionMajor +REG_DWORD +0x1|VersionMinor +REG_DWORD +0x0|EstimatedSize +REG_DWORD +0x[0-9a-f]{3,})\$" \
        <<<"$entry")" = 8 ] || { echo "$entry" >&2; return 1; }
}

# Opened as Explorer opens it, the game is no child of ours: its window leads to it.
start_through_shortcut() {
    game_pid=
    poll 10 no_window "^Vorkelm" || fail "an earlier game's window stays"
    wine start "$shortcut" >>"$shots/wine.log" 2>&1
    poll 60 find_window "^Vorkelm" || fail "the shortcut started no game"
    game_pid=$(xdotool getwindowpid "$found")
    take_window "$found"
    poll 10 machine_drawn || fail "the game started through its shortcut does not draw its pictures"
}

uninstall_and_wait() {
    # The uninstaller works from a copy of itself and returns at once; wineserver -w waits for it.
    wine "$unix_folder/uninstall.exe" /S && wineserver -w || fail "the uninstaller failed"
}

machine_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'

# Cannot write, then a plain installation into Program Files.
fresh_prefix
c=$WINEPREFIX/drive_c
at 'C:\blocked' HKLM "$machine_menu"
mkdir -p "$c/blocked/vorkelm.exe" # a folder where the program should go
! wine "$setup" /S '/D=C:\blocked' || fail "an installation that could not write a file succeeded"
[ "$(ls "$c/blocked")" = vorkelm.exe ] && ! wine reg query "HKLM\\$key" >/dev/null 2>&1 &&
    [ ! -e "$(winepath -u "$shortcut")" ] ||
    fail "a failed installation left files, a shortcut or a registry entry"
at 'C:\Program Files\Vorkelm' HKLM "$machine_menu"
wine "$setup" /S || fail "the installation failed"
release_installed || fail "Program Files\\Vorkelm does not hold the release's files and the uninstaller"
registered_here || fail "the Add/Remove entry is not the game's"
echo "the player's" >"$unix_folder/notes.txt"
uninstall_and_wait
[ "$(ls "$unix_folder")" = notes.txt ] && rm -r "$unix_folder" && nothing_installed ||
    fail "the uninstaller did not keep just the player's file, or left the shortcut or the entry"

# An upgrade goes where the first installation went; the game running blocks both ways.
fresh_prefix
at 'C:\Games\Vorkelm' HKLM "$machine_menu"
wine "$setup" /S '/D=C:\Games\Vorkelm' && wine "$setup" /S || fail "installing twice failed"
release_installed && [ ! -e "$WINEPREFIX/drive_c/Program Files/Vorkelm" ] ||
    fail "installing again without /D did not go into C:\\Games\\Vorkelm alone"
registered_here || fail "the Add/Remove entry does not name C:\\Games\\Vorkelm"
start_through_shortcut
rc=0
wine "$setup" /S || rc=$?
[ $rc = 3 ] || fail "installing while the game runs gave exit code $rc, not 3"
rc=0
wine "$unix_folder/uninstall.exe" /S "_?=$folder" || rc=$?
[ $rc = 3 ] || fail "uninstalling while the game runs gave exit code $rc, not 3"
release_installed && registered_here || fail "installing or uninstalling while the game ran changed it"
stop_game
# An upgrade that meets a file it cannot replace (a folder in its place here) changes nothing.
rm "$unix_folder/LICENSE.txt" && mkdir "$unix_folder/LICENSE.txt"
! wine "$setup" /S || fail "an upgrade that could not replace a file succeeded"
rmdir "$unix_folder/LICENSE.txt"
diff -r -x uninstall.exe -x LICENSE.txt "$release" "$unix_folder" >/dev/null && registered_here ||
    fail "a failed upgrade changed the installation"
start_through_shortcut
stop_game
uninstall_and_wait
nothing_installed && [ ! -e "$WINEPREFIX/drive_c/Games" ] ||
    fail "the uninstaller left a file, the folder it made, the shortcut or the entry"

# For the current user alone.
fresh_prefix
local_app_data=$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
at "$local_app_data\\Programs\\Vorkelm" HKCU "$(wine cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs"
find "$WINEPREFIX/drive_c/Program Files" "$WINEPREFIX/drive_c/ProgramData" | sort >"$shots/machine-before"
wine "$setup" /S /CurrentUser || fail "the installation for the current user failed"
release_installed && [ -e "$(winepath -u "$shortcut")" ] && registered_here ||
    fail "the installation for the current user is not in its folder, Start menu and HKCU"
find "$WINEPREFIX/drive_c/Program Files" "$WINEPREFIX/drive_c/ProgramData" | sort |
    cmp -s - "$shots/machine-before" || fail "the installation for the current user wrote for the machine"
uninstall_and_wait
nothing_installed && [ ! -e "$(winepath -u "$local_app_data")/Programs" ] ||
    fail "uninstalling for the current user left something"
