#!/usr/bin/env bash
# The replay runner from the outside: its formats, its determinism and its refusals.
set -u
sim=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

first=$("$sim" --ticks 5 --dump --keys 5:R,5:L)
second=$("$sim" --ticks 5 --dump --keys 5:R,5:L)
[ "$first" = "$second" ] || fail "two identical runs differ"
head -6 <<<"$first" | diff - <(printf 'tick 5\ncredit 7\ncoinsOwed 0\nlottery 0 0 0\npusher 0 0 1\ncatcher 60 0\n') >/dev/null ||
    fail "dump header: $(head -6 <<<"$first" | tr '\n' '|')"
[ "$(grep -c '^coin ' <<<"$first")" = 193 ] || fail "coin lines: $(grep -c '^coin ' <<<"$first")"
grep -qE '^coin 13 1 [0-9]+ 16 6$' <<<"$first" || fail "the Right press before tick 5 did not fall into the lowest free slot"
grep -q '^link ' <<<"$first" || fail "no link lines"
sort -k2,2n -k3,3n -s <<<"$(grep '^link ' <<<"$first")" | diff -q - <(grep '^link ' <<<"$first") >/dev/null ||
    fail "link lines not ascending"

# A replay code of that game (5 ticks, Right then Left before tick 5) plays the same game.
[ "$("$sim" --replay AQUCCQDSFgEH --dump)" = "$first" ] || fail "--replay plays another game than --ticks and --keys"
for bad in AgUCCQDSFgEH:version AQUCCQDSFgEI:damaged 'AQUC*QDSFgEH:base64url' AQUCCQDSFg:damaged; do
    "$sim" --replay "${bad%%:*}" --dump >/dev/null 2>/tmp/sim-replay.$$
    rc=$?
    [ $rc = 2 ] && grep -q "${bad##*:}" /tmp/sim-replay.$$ || fail "--replay ${bad%%:*} exits $rc: $(cat /tmp/sim-replay.$$)"
done

trace=$("$sim" --ticks 1 --trace)
[ "$(sed -n 1p <<<"$trace")" = "tick 1" ] || fail "trace starts with $(sed -n 1p <<<"$trace")"
grep -qxF 'text 5 50 16 255 255 255 0\x96\x87' <<<"$trace" || fail "credit line of tick 1"
grep -qxF 'line 140 84 157 84 3 255 255 0' <<<"$trace" || fail "lamp square line"
[ "$(tail -1 <<<"$trace")" = "repaint" ] || fail "trace does not end with the repaint"
grep -q '^sound coin.wav$' <<<"$("$sim" --ticks 4 --trace)" || fail "no pay-out sound by tick 4"

[ -z "$("$sim" --ticks 0)" ] || fail "--ticks 0 alone prints something"
help=$("$sim" --help) && grep -q '^usage' <<<"$help" || fail "--help prints no usage or does not exit 0"
# A full table held for a billion presses a tick: without skipping the presses that drop
# nothing this would run for hours.
"$sim" --ticks 3 --hold 999999999 --credit 999999999 --check | grep -q 'held.*most coins in play 5000$' ||
    fail "a full table under a held billion presses"
"$sim" --ticks 3 --trace >/dev/full 2>/tmp/sim-full.$$ && fail "output to a full disk exits 0"
grep -q 'writing the output failed' /tmp/sim-full.$$ || fail "no message for output to a full disk"
"$sim" --ticks 200001 2>&1 | grep -q 'from 0 to 200000' || fail "--ticks past the limit does not name it"

for bad in "" "--ticks" "--ticks -1" "--ticks x" "--ticks 5 --keys 6:R" "--ticks 5 --keys 0:L" \
    "--ticks 5 --keys 1:X" "--ticks 5 --keys 1R" "--ticks 5 --keys 1:R," "--ticks 5 --bogus" \
    "--dump" "--ticks 200001" "--ticks 5 --hold 1000000000" "--ticks 5 --replay AQUCCQDSFgEH"; do
    # shellcheck disable=SC2086
    "$sim" $bad >/dev/null 2>/tmp/sim-usage.$$
    rc=$?
    [ $rc = 2 ] || fail "'$bad' exits $rc, not 2"
    grep -q usage /tmp/sim-usage.$$ || fail "'$bad' prints no usage"
done
rm -f /tmp/sim-usage.$$ /tmp/sim-full.$$ /tmp/sim-replay.$$

echo "$failures failed"
[ $failures = 0 ]
