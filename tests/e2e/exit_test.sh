#!/usr/bin/env bash
# The game ends with exit code 0 both by the Exit menu command and by closing the window.
source "$(dirname "$0")/lib.sh"

for keys in "alt+f x" "alt+F4"; do
    start_game
    # shellcheck disable=SC2086 # one key name or several
    press $keys
    wait_for_exit
    [ "$exit_code" -eq 0 ] || fail "$keys: exit code $exit_code"
    echo "$keys: exit code 0"
done
