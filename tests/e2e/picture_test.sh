#!/usr/bin/env bash
# The picture: the machine is drawn, and the pusher and the catcher move from tick to tick.
source "$(dirname "$0")/lib.sh"

# Until the first tick the window shows a blank canvas.
machine_drawn() {
    shot before
    awk -v m="$(brightness before "${MACHINE[@]}")" 'BEGIN { exit !(m > 0.1) }'
}

start_game
poll 10 machine_drawn || fail "the machine is not drawn"
echo "mean brightness of the machine: $(brightness before "${MACHINE[@]}")"

# Each tick moves the catcher 12 pixels and the pusher one step, so a second is plenty.
shot_until_differs before catcher "${CATCHER_BAND[@]}" || fail "the catcher does not move"
shot_until_differs before pusher "${PUSHER[@]}" || fail "the pusher does not move"
