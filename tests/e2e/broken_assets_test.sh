#!/usr/bin/env bash
# Broken asset files: started in a folder with no files, empty files, bitmaps cut in half, text
# files named like the bitmaps, bitmaps declaring 100,000 by 100,000 pixels or garbage wave files,
# the game stays up for 20 seconds with its title, pays out its first coins (the credit shows the
# same 9 as with good files), and Right lowers the credit at once and again at the end. Only
# pictures and sounds may go missing. The credit is drawn as text, so it shows without pictures.
#
# A good game runs first for the reference pictures of the credit; the broken ones then run side
# by side for the 20 seconds, so that the whole test takes under a minute.
source "$(dirname "$0")/lib.sh"

SECONDS_UP=20
assets="$e2e_top/assets"

le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# A 24-bit bitmap whose headers declare 100,000 by 100,000 pixels, followed by 16 bytes of them.
huge_bitmap() {
    local side=100000 pixel_bytes=16
    printf 'BM'; le32 $((54 + pixel_bytes)); le32 0; le32 54
    le32 40; le32 $side; le32 $side; le16 1; le16 24; le32 0; le32 0; le32 2835; le32 2835
    le32 0; le32 0
    head -c $pixel_bytes /dev/zero | tr '\0' '\377'
}

# A RIFF wave whose chunks claim far more than the file holds, or a slice of a picture.
garbage_wave() {
    case $1 in
    coin.wav | s.wav)
        printf 'RIFF'; le32 $((0xFFFFFFF0)); printf 'WAVEfmt '; le32 $((0x7FFFFFFF))
        head -c 300 "$assets/top.bmp" ;;
    *) head -c 3000 "$assets/back.bmp" | tail -c 2000 ;;
    esac
}

# Fills folder $2 with the files of case $1.
lay_case() {
    local name=$1 folder=$2 file base
    mkdir -p "$folder"
    rm -f "$folder"/*
    for file in "$assets"/*.bmp "$assets"/*.wav; do
        base=$(basename "$file")
        case $name:$base in
        no-files:*) ;;
        empty-files:*) : >"$folder/$base" ;;
        half-bitmaps:*.bmp) head -c $(($(stat -c %s "$file") / 2)) "$file" >"$folder/$base" ;;
        text-bitmaps:*.bmp) echo "This is not a picture." >"$folder/$base" ;;
        huge-bitmaps:*.bmp) huge_bitmap >"$folder/$base" ;;
        garbage-waves:*.wav) garbage_wave "$base" >"$folder/$base" ;;
        *) cp "$file" "$folder/$base" ;;
        esac
    done
}

# Whether the credit shows what screenshot $1 of the good game shows.
credit_as_in() {
    shot now
    same "$1" now "${CREDIT_DIGIT[@]}"
}

# Game $1 of the broken ones becomes the one that the functions of lib.sh look at. Screenshots
# read the screen, where the games' windows overlap, so it goes on top; every tick repaints the
# whole window, so a fifth of a second later it shows its own picture. Wine gives keys only to
# the active game, so it is clicked beside the machine, where the game takes no mouse input.
look_at() {
    game_pid=${pids[$1]}
    window=${windows[$1]}
    shots=$all_shots/${cases[$1]}
    xdotool windowraise "$window" mousemove --window "$window" $((360 + dx)) $((300 + dy)) click 1
    sleep 0.3
}

stop_all() {
    for game_pid in "${pids[@]}"; do
        stop_game
    done
}

start_game
wait_for_first_payouts
cp "$shots/credit-settled.png" "$shots/good-nine.png"
press Right
shot_until_differs good-nine good-eight "${CREDIT_DIGIT[@]}" || fail "Right did nothing"
stop_game

# All at once, each from a folder of its own.
cases=(no-files empty-files half-bitmaps text-bitmaps huge-bitmaps garbage-waves)
all_shots=$shots
pids=()
windows=()
trap stop_all EXIT
for name in "${cases[@]}"; do
    mkdir -p "$all_shots/$name"
    lay_case "$name" "$all_shots/$name/files"
    cp "$all_shots"/good-*.png "$all_shots/$name/"
    (cd "$all_shots/$name/files" && exec wine "$game_exe") >>"$all_shots/$name/wine.log" 2>&1 &
    pids+=($!)
done
started=$SECONDS
for i in "${!cases[@]}"; do
    game_pid=${pids[$i]}
    poll 60 find_window "^Vorkelm" || fail "${cases[$i]}: no game window appeared"
    windows+=("$found")
done

for i in "${!cases[@]}"; do
    look_at "$i"
    [ "$(xdotool getwindowname "$window")" = "$TITLE" ] || fail "${cases[$i]}: the title is wrong"
    poll 20 credit_as_in good-nine || fail "${cases[$i]}: the credit did not reach the 9 of a good game"
    press Right
    poll 5 credit_as_in good-eight || fail "${cases[$i]}: Right did not lower the credit to 8"
done

sleep $((started + SECONDS_UP - SECONDS > 0 ? started + SECONDS_UP - SECONDS : 0))
for i in "${!cases[@]}"; do
    look_at "$i"
    ! game_ended || fail "${cases[$i]}: the game ended"
    [ "$(xdotool getwindowname "$window")" = "$TITLE" ] || fail "${cases[$i]}: the title is gone"
    shot late
    press Right
    shot_until_differs late later "${CREDIT_DIGIT[@]}" || fail "${cases[$i]}: the game stopped answering"
done
echo "all ${#cases[@]} games with broken files ran on for $((SECONDS - started)) s"
