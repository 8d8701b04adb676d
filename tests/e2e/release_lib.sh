# Sourced by the tests of the installer, after lib.sh: the release in the game's build folder (its
# installer, its files, and the names and addresses of its release.conf) and checks of an
# installation of it under Wine.

build=$(dirname "$game_exe")
source "$build/release/release.conf"
setup=$build/Vorkelm-$version-win64-setup.exe
release=${setup%-setup.exe}
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorkelm'
quiet_uninstall=$(dirname "$rect_exe")/quiet-uninstall.exe
machine_menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'

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

# One Add/Remove entry, in the given root, naming this folder, with what Windows shows of it: the
# name says whether it is for one user, and the support link is the home page, where there is one.
registered_here() {
    local other=HKLM name=$title entry link=0
    [ "$root" = HKLM ] && other=HKCU || name=$user_title
    ! wine reg query "$other\\$key" >/dev/null 2>&1 || return 1
    entry=$(wine reg query "$root\\$key" | iconv -f CP932 -t UTF-8 | tr -d '\r')
    [ -z "$homepage" ] || link=1
    [ "$(grep -Ec "^ +(DisplayName +REG_SZ +${name//[()]/.}|DisplayVersion +REG_SZ +$version|Publisher +REG_SZ +.+|\
DisplayIcon +REG_SZ +.*\\\\vorkelm\.exe,0|InstallLocation +REG_SZ +${folder//\\/\\\\}|\
VersionMajor +REG_DWORD +0x1|VersionMinor +REG_DWORD +0x0|EstimatedSize +REG_DWORD +0x[0-9a-f]{3,})\$" \
        <<<"$entry")" = 8 ] && [ "$(grep -Ec "^ +URLInfoAbout +REG_SZ +$homepage\$" <<<"$entry")" = $link ] &&
        [ "$(grep -c URLInfoAbout <<<"$entry")" = $link ] || { echo "$entry" >&2; return 1; }
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

# The entry's quiet uninstall, which winget runs and whose exit code it reads; in $rc.
quiet_uninstall() {
    rc=0
    wine "$quiet_uninstall" "$root" || rc=$?
}

uninstall_quietly() {
    quiet_uninstall
    [ $rc = 0 ] || fail "the quiet uninstall exited with code $rc"
}
