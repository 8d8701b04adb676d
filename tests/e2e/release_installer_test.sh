#!/usr/bin/env bash
# The installer as players and package managers run it, silently, each case in a fresh Wine prefix:
# - Esc on its first page ends it with exit code 1 and nothing installed; one that cannot write a
#   file fails and leaves nothing; a good one installs the release's files and registers them for
#   Add/Remove Programs; the entry's quiet uninstall, run as winget runs it, waits and keeps a file
#   the player added, with its folder, and leaves nothing else;
# - installed into Program Files and then with /D= into another folder, the installation moves
#   there; a copy left behind in Program Files (as earlier installers left one) uninstalls only its
#   own files and leaves the entry and the shortcut of the real installation; installed again
#   without /D=, there is still one copy, in that folder, and one entry; its Start-menu shortcut
#   starts the game, drawing its pictures; while the game runs, installing and uninstalling fail
#   with code 3 and change nothing, and so does an upgrade that cannot replace a file (code 2);
#   uninstalling removes the parent folder that the installer made;
# - /CurrentUser installs under the user's own folders and HKCU only, with a name that says so,
#   and uninstalls to nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/release_lib.sh"

# Esc, and then up to a second for the installer to end.
escape_ends_installer() {
    press_on "$found" Escape
    poll 1 game_ended
}

# Cancelled, cannot write, then a plain installation into Program Files.
fresh_prefix
c=$WINEPREFIX/drive_c
at 'C:\Program Files\Vorkelm' HKLM "$machine_menu"
wine "$setup" >>"$shots/wine.log" 2>&1 &
game_pid=$!
poll 60 find_window "セットアップ" || fail "the installer showed no window"
poll 20 escape_ends_installer || fail "Esc did not end the installer"
wait_for_exit
[ $exit_code = 1 ] && nothing_installed || fail "Esc on the first page gave exit code $exit_code or installed"
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
uninstall_quietly
[ "$(ls "$unix_folder")" = notes.txt ] && rm -r "$unix_folder" && nothing_installed ||
    fail "the uninstaller did not keep just the player's file, or left the shortcut or the entry"

# An installation into another folder moves the earlier one; a copy left behind keeps its hands
# off the real one's entry and shortcut; an upgrade goes where the installation is; the game
# running blocks both ways.
fresh_prefix
at 'C:\Games\Vorkelm' HKLM "$machine_menu"
program_files=$WINEPREFIX/drive_c/Program\ Files/Vorkelm
wine "$setup" /S && wine "$setup" /S '/D=C:\Games\Vorkelm' || fail "installing twice failed"
release_installed && [ ! -e "$program_files" ] && registered_here ||
    fail "installing into C:\\Games\\Vorkelm did not move the installation there"
cp -a "$unix_folder" "$program_files"
wine "$program_files/uninstall.exe" /S && wineserver -w || fail "the copy's uninstaller failed"
[ ! -e "$program_files" ] && release_installed && registered_here && [ -e "$(winepath -u "$shortcut")" ] ||
    fail "the copy left in Program Files took the installation's entry or shortcut, or stayed"
wine "$setup" /S || fail "installing again failed"
release_installed && [ ! -e "$program_files" ] ||
    fail "installing again without /D did not go into C:\\Games\\Vorkelm alone"
registered_here || fail "the Add/Remove entry does not name C:\\Games\\Vorkelm"
start_through_shortcut
rc=0
wine "$setup" /S || rc=$?
[ $rc = 3 ] || fail "installing while the game runs gave exit code $rc, not 3"
quiet_uninstall
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
uninstall_quietly
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
uninstall_quietly
nothing_installed && [ ! -e "$(winepath -u "$local_app_data")/Programs" ] ||
    fail "uninstalling for the current user left something"
