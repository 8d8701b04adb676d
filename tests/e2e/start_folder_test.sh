#!/usr/bin/env bash
# Where the game finds its files, and its texts on a Windows that is not Japanese, in a fresh Wine
# prefix. Started from a folder without asset files, under an English locale, the game draws its
# pictures from its own folder, and its title and credit read as under a Japanese one. Started
# from a folder with one stray picture of the game's, it still draws the whole machine from its
# own folder. Started in a folder with a whole set of its own, broken files here, it reads those
# and draws no machine.
source "$(dirname "$0")/lib.sh"

TITLE_TEXT=(0 6 70 20) # "Vorkelm", drawn at (5, 10)

fresh_prefix
rm -rf "$shots/program" "$shots/elsewhere" "$shots/stray" "$shots/own-files"
mkdir -p "$shots/program" "$shots/elsewhere" "$shots/stray" "$shots/own-files"
cp "$game_exe" "$e2e_top"/assets/* "$shots/program/"
game_exe=$shots/program/vorkelm.exe
# A copy of the back wall, as a player might keep one among other pictures.
cp "$e2e_top/assets/back.bmp" "$shots/stray/"
for file in "$e2e_top"/assets/*; do
    echo "This is not a picture or a sound." >"$shots/own-files/$(basename "$file")"
done

# The number of colours in the machine's region: its back wall alone shows about 230, the
# whole machine with its coins about 950.
machine_colours() {
    /usr/bin/convert "$shots/$1.png[$(crop "${MACHINE[@]}")]" -format %k info:
}

# Without its manifest, the program would get code page 1252 here and garble its texts.
LC_ALL=en_US.UTF-8 start_game "$shots/elsewhere"
[ "$(xdotool getwindowname "$window")" = "$TITLE" ] ||
    fail "under an English locale the title reads $(xdotool getwindowname "$window")"
poll 10 machine_drawn || fail "started from another folder, the game does not draw its pictures"
wait_for_first_payouts
mv "$shots/credit-settled.png" "$shots/english.png"
stop_game

start_game "$shots/stray"
poll 10 machine_drawn || fail "started from a folder with a stray picture, the game draws no machine"
colours=$(machine_colours machine)
[ "$colours" -ge 600 ] ||
    fail "started from a folder with a stray picture, the machine shows $colours colours, not the whole set's"
stop_game

# The same title and pay-outs, pictures or not.
texts_as_in_english() {
    shot japanese
    same english japanese "${CREDIT_DIGIT[@]}" && same english japanese "${TITLE_TEXT[@]}"
}
start_game "$shots/own-files"
poll 20 texts_as_in_english ||
    fail "under an English locale the title or the credit is drawn otherwise than under a Japanese one"
awk -v m="$(brightness japanese "${MACHINE[@]}")" 'BEGIN { exit !(m < 0.05) }' ||
    fail "started in a folder with files of its own, the game drew other pictures than those"
