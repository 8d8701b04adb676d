#!/usr/bin/env bash
# The replay runner from the outside: its formats, its determinism and its refusals.
#   sim_cli_test.sh SIM DATA    (DATA: tests/native/data)
set -u
sim=$1
data=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

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

# Codes of that game (5 ticks, Right then Left before tick 5), of versions 1 and 2, play the
# same game, given on the command line or on standard input.
[ "$("$sim" --replay AQUCCQDSFgEH --dump)" = "$first" ] || fail "--replay plays another game than --ticks and --keys"
[ "$("$sim" --replay - --dump <<<AgEFAgkAUr4TbQ)" = "$first" ] || fail "--replay - plays another game"
# The same, as version 3, under rules 2, with its checksum whole; the 2^31 - 1 ticks of a crafted
# link.
for bad in AwEFAgkA0zjdhg:'newer Vorkelm (format 3' AgIFAgkAB4B4SA:'rules 2, of a newer' \
    AQUCCQDSFgEI:damaged 'AQUC*QDSFgEH:base64url' AQUCCQDSFg:damaged Af____8HAAd8HLY:2147483647; do
    "$sim" --replay "${bad%%:*}" --dump >/dev/null 2>"$out/err"
    rc=$?
    [ $rc = 2 ] && grep -qF "${bad#*:}" "$out/err" || fail "--replay ${bad%%:*} exits $rc: $(cat "$out/err")"
done
head -c 1000001 /dev/zero | tr '\0' A >"$out/long"
"$sim" --replay - <"$out/long" >/dev/null 2>"$out/err"
rc=$?
[ $rc = 2 ] && grep -q 'longer than 1000000' "$out/err" || fail "a code of a megabyte exits $rc: $(cat "$out/err")"

# What version 1.0 wrote: each save continues, and each code plays, to the dump it gave then.
for save in "$data"/v1/*.save; do
    name=${save%.save}
    "$sim" --load "$save" --dump >"$out/dump" 2>"$out/err" || fail "--load $save: $(cat "$out/err")"
    if [ -f "$name.dump" ]; then
        cmp -s "$out/dump" "$name.dump" || fail "--load $save dumps another game"
    else
        [ "$(sha256sum <"$out/dump" | cut -d' ' -f1)" = "$(cat "$name.dump.sha256")" ] ||
            fail "--load $save dumps another game"
    fi
    if [ -f "$name.code" ]; then
        "$sim" --replay - --dump <"$name.code" | cmp -s - "$name.dump" || fail "--replay of $name.code"
    fi
done
# A continued game is the game played on: presses before ticks 5, 6 and 7 and three after tick
# 400, 20 ticks more; from standard input too.
played=$("$sim" --ticks 420 --keys 5:L,6:R,7:L,401:R,401:L,401:R --dump)
[ "$("$sim" --load "$data/v1/presses-waiting.save" --ticks 20 --dump)" = "$played" ] ||
    fail "--load --ticks 20 plays another game than the whole of it"
[ "$("$sim" --load - --ticks 20 --dump <"$data/v1/presses-waiting.save")" = "$played" ] ||
    fail "--load - plays another game"
[ "$("$sim" --load "$data/v1/presses-waiting.save" --ticks 2 --trace | head -1)" = "tick 401" ] ||
    fail "a continued game's trace does not go on from its tick"
"$sim" --load "$data/v1/lottery-running.save" --ticks 100 --check | grep -q '^check: 100 ticks, invariants held' ||
    fail "a continued game breaks an invariant"
# Crafted saves are refused with their reason, each in a blink (the time is shown, not judged).
for save in "$data"/crafted/*.save; do
    start=$(date +%s%N)
    "$sim" --load "$save" --dump >/dev/null 2>"$out/err"
    rc=$?
    echo "$(basename "$save"): exit $rc in $((($(date +%s%N) - start) / 1000000)) ms: $(cat "$out/err")"
    [ $rc = 2 ] && grep -q '^vorkelm-sim: --load: the save' "$out/err" || fail "--load $save exits $rc"
done
echo bm90IGEgc2F2ZWQgZ2FtZQ >"$out/garbage"
"$sim" --load "$out/garbage" 2>"$out/err" >/dev/null
[ $? = 2 ] && grep -q 'not a saved game' "$out/err" || fail "--load of garbage: $(cat "$out/err")"
"$sim" --load "$out/missing" 2>"$out/err" >/dev/null
[ $? = 2 ] && grep -q 'cannot read' "$out/err" || fail "--load of a missing file: $(cat "$out/err")"

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
"$sim" --ticks 3 --trace >/dev/full 2>"$out/full" && fail "output to a full disk exits 0"
grep -q 'writing the output failed' "$out/full" || fail "no message for output to a full disk"
"$sim" --ticks 200001 2>&1 | grep -q 'from 0 to 200000' || fail "--ticks past the limit does not name it"

for bad in "" "--ticks" "--ticks -1" "--ticks x" "--ticks 5 --keys 6:R" "--ticks 5 --keys 0:L" \
    "--ticks 5 --keys 1:X" "--ticks 5 --keys 1R" "--ticks 5 --keys 1:R," "--ticks 5 --bogus" \
    "--dump" "--ticks 200001" "--ticks 5 --hold 1000000000" "--ticks 5 --replay AQUCCQDSFgEH" \
    "--load" "--load x --replay AQUCCQDSFgEH" "--load x --keys 1:R" "--load x --credit 5"; do
    # shellcheck disable=SC2086
    "$sim" $bad >/dev/null 2>"$out/usage"
    rc=$?
    [ $rc = 2 ] || fail "'$bad' exits $rc, not 2"
    grep -q usage "$out/usage" || fail "'$bad' prints no usage"
done

echo "$failures failed"
[ $failures = 0 ]
