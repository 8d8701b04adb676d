#!/usr/bin/env bash
# The signed release (release_signed_package.sh made it beside the vorkelm.exe given) as a player
# installs it, in a fresh Wine prefix: it installs silently, its uninstaller is signed with the
# test certificate too, the entry links the home page, the game started through its shortcut
# draws its pictures, and the quiet uninstall leaves nothing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/release_lib.sh"

fresh_prefix
at 'C:\Program Files\Vorkelm' HKLM "$machine_menu"
wine "$setup" /S || fail "the signed installer failed"
release_installed && registered_here || fail "the signed installer did not install the release"
osslsigncode verify -CAfile "$build/test-certificate/cert.pem" -in "$unix_folder/uninstall.exe" |
    grep -q '^Signature verification: ok' || fail "the installed uninstaller is not signed"
start_through_shortcut
stop_game
uninstall_quietly
nothing_installed || fail "uninstalling the signed release left something"
