#!/usr/bin/env bash
# The picture: the machine is drawn, and the pusher and the catcher move from tick to tick.
source "$(dirname "$0")/lib.sh"

start_game
poll 10 machine_drawn || fail "the machine is not drawn"
echo "mean brightness of the machine: $(brightness machine "${MACHINE[@]}")"

# Each tick moves the catcher 12 pixels and the pusher one step, so a second is plenty.
shot_until_differs machine catcher "${CATCHER_BAND[@]}" || fail "the catcher does not move"
shot_until_differs machine pusher "${PUSHER[@]}" || fail "the pusher does not move"
