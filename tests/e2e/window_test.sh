#!/usr/bin/env bash
# The game's window: its title, its outer size, and the menu bar above the picture.
source "$(dirname "$0")/lib.sh"

start_game

title=$(xdotool getwindowname "$window")
[ "$title" = "$TITLE" ] || fail "the title is '$title'"

# X sees the menu bar and the client area only; the outer size comes from Windows.
echo "outer ${outer_width}x${outer_height}, X window ${x_width}x${x_height}," \
    "client ${client_width}x${client_height} at ($dx, $dy) in the X window"
[ "$outer_width" -eq 400 ] && [ "$outer_height" -eq 450 ] ||
    fail "the outer size is ${outer_width}x${outer_height}"
[ "$dx" -eq 0 ] && [ "$dy" -gt 0 ] && [ "$x_width" -eq "$client_width" ] &&
    [ "$x_height" -eq $((dy + client_height)) ] ||
    fail "the X window is not the menu bar over the client area"

# The menu bar is drawn: it is not the black of the picture below it.
shot window
[ "$(brightness window 0 $((-dy)) "$client_width" "$dy")" != 0 ] || fail "no menu bar"
