#!/usr/bin/env bash
# The zip in a fresh Wine prefix: it holds one folder with the program, the 16 asset files, the
# README and the licence, and the game started in that folder, as a double-click starts it, draws
# its pictures.
source "$(dirname "$0")/lib.sh"

zip=$(echo "$(dirname "$game_exe")"/Vorkelm-*-win64.zip)
fresh_prefix
rm -rf "$shots/unpacked" && mkdir "$shots/unpacked"
(cd "$shots/unpacked" && cmake -E tar xf "$zip")
folder=$shots/unpacked/$(basename "$zip" .zip)
[ "$(ls "$shots/unpacked")" = "${folder##*/}" ] || fail "the zip holds more than its one folder"
expected=$(printf '%s\n' $(ls "$e2e_top/assets") LICENSE.txt README.txt vorkelm.exe | LC_ALL=C sort)
[ "$(ls "$folder" | LC_ALL=C sort)" = "$expected" ] ||
    fail "the zip's folder holds other files than the program, the 16 asset files, README and licence"

game_exe=$folder/vorkelm.exe
start_game "$folder"
poll 10 machine_drawn || fail "the unpacked game does not draw its pictures"
