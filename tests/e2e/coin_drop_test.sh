#!/usr/bin/env bash
# Right drops a coin: with the first pay-outs in (credit 9), three presses change the credit shown
# and a coin falls in the right lane, not in the left one.
source "$(dirname "$0")/lib.sh"

start_game
wait_for_first_payouts
cp "$shots/credit-settled.png" "$shots/before.png"

press Right Right Right
shot_until_differs before credit "${CREDIT_DIGIT[@]}" || fail "the credit shown did not change"
shot_until_differs before lane "${RIGHT_LANE[@]}" || fail "no coin in the right lane"
same before lane "${LEFT_LANE[@]}" || fail "the left lane changed too"
