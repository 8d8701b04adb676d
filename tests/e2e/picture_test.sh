#!/usr/bin/env bash
# The picture: the machine is drawn, and the pusher and the catcher move from tick to tick.
source "$(dirname "$0")/lib.sh"

start_game
shot first
sleep 0.5
shot before

machine=$(brightness before "${MACHINE[@]}")
echo "mean brightness of the machine: $machine"
awk -v m="$machine" 'BEGIN { exit !(m > 0.1) }' || fail "the machine is not drawn"

# Each tick moves the catcher 12 pixels and the pusher one step, so a second is plenty.
shot_until_differs before catcher "${CATCHER_BAND[@]}" || fail "the catcher does not move"
shot_until_differs before pusher "${PUSHER[@]}" || fail "the pusher does not move"
