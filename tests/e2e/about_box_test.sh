#!/usr/bin/env bash
# The About box: Alt+? opens it, the game moves on behind it, the arrow keys drop nothing while it
# is open, Esc closes it, and Alt+/ opens it again.
source "$(dirname "$0")/lib.sh"

start_game
wait_for_first_payouts
cp "$shots/credit-settled.png" "$shots/before.png"

press alt+question
poll 10 find_window "^$ABOUT_TITLE\$" || fail "Alt+? did not open the About box"
about=$found
shot about-open
/usr/bin/import -window "$about" "$shots/about.png"

# The catcher and the pusher lie below the box.
shot_until_differs about-open moving "${PUSHER[@]}" || fail "the game stopped behind the About box"

press Right Right Left
press_on "$about" Right Left
sleep 1

press_on "$about" Escape
poll 10 no_window "^$ABOUT_TITLE\$" || fail "Esc did not close the About box"
# Five ticks on, the credit is still the one from before the presses.
sleep 1
shot after-close
same before after-close "${CREDIT_DIGIT[@]}" || fail "arrow keys dropped coins while the About box was open"

press alt+slash
poll 10 find_window "^$ABOUT_TITLE\$" || fail "Alt+/ did not open the About box again"
press_on "$found" Escape
poll 10 no_window "^$ABOUT_TITLE\$" || fail "Esc did not close the About box the second time"

# Back in the game, the arrow keys drop coins again.
press Right
shot_until_differs before credit "${CREDIT_DIGIT[@]}" || fail "Right did nothing after the About box"
