#!/usr/bin/env bash
# The portable zip, in a fresh Wine prefix: it holds one folder with the release's files, and the
# game started in that folder, as a double-click starts it, draws the machine from its pictures.
source "$(dirname "$0")/lib.sh"

release=$(dirname "$game_exe")
zip=$(echo "$release"/Vorkelm-*-win64.zip)
fresh_prefix

unpacked=$shots/unpacked
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
folder=$unpacked/$(basename "$zip" .zip)
[ "$(ls "$unpacked")" = "$(basename "$folder")" ] || fail "the zip holds more than its one folder"
diff <(ls "$folder" | LC_ALL=C sort) <( (ls "$e2e_top/assets"; echo README.txt; echo vorkelm.exe) | LC_ALL=C sort) ||
    fail "the zip holds other files than the program, its 16 asset files and the README"

game_exe=$folder/vorkelm.exe
start_game "$folder"
poll 10 machine_drawn || fail "the unpacked game does not draw the machine's pictures"
echo "the unpacked game draws the machine: mean brightness $(brightness machine "${MACHINE[@]}")"
