#!/usr/bin/env bash
# The sounds, heard: the game plays into the null sink of a PulseAudio of the test's own, whose
# monitor is recorded and measured with sox. The first pay-outs ring out "coin.wav"; a game from a
# folder with its bitmaps but no wave files pays out the same 9, answers Right and stays silent.
#
# An idle null sink renders two seconds ahead, and a sound played into that span never reaches the
# monitor. The recorder asks for 20 ms fragments, which brings the sink down to that latency once
# it next renders, so each game starts only when the recording has data.
source "$(dirname "$0")/lib.sh"

pulse=$(mktemp -d /tmp/vorkelm-pulse.XXXXXX)
export PULSE_SERVER=unix:$pulse/native PULSE_COOKIE=$pulse/pulse/cookie
XDG_RUNTIME_DIR=$pulse XDG_CONFIG_HOME=$pulse pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --load="module-null-sink sink_name=cap" --load="module-native-protocol-unix socket=$pulse/native" \
    >"$shots/pulseaudio.log" 2>&1 &
pulse_pid=$!
recorder_pid=

stop_sound() {
    stop_game
    stop_recording
    kill "$pulse_pid" 2>/dev/null || true
    wait "$pulse_pid" 2>/dev/null || true
    rm -rf "$pulse"
}
trap stop_sound EXIT

# Records the sink into $shots/$1.raw from the moment it returns.
record() {
    recording=$shots/$1.raw
    rm -f "$recording" # an earlier run's would count as data
    parecord --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 -d cap.monitor \
        "$recording" &
    recorder_pid=$!
    poll 5 test -s "$recording" || fail "nothing reaches the recording"
}

stop_recording() {
    if [ -n "$recorder_pid" ]; then
        kill "$recorder_pid" 2>/dev/null || true
        wait "$recorder_pid" 2>/dev/null || true
        recorder_pid=
    fi
}

# The loudest sample recorded so far, from 0 to 1.
peak() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$recording" -n stat 2>&1 |
        awk '/^Maximum amplitude/ { print $3 }'
}

louder_than() {
    awk -v p="$(peak)" -v limit="$1" 'BEGIN { exit !(p > limit) }'
}

poll 5 pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"

record first-payouts
start_game
wait_for_first_payouts
cp "$shots/credit-settled.png" "$shots/nine.png"
# winepulse connects with the first sound, within about a second.
poll 5 louder_than 0.1 || fail "the first pay-outs were not heard: peak $(peak)"
stop_recording
echo "first pay-outs: peak $(peak)"
stop_game

quiet=$shots/no-waves
mkdir -p "$quiet"
rm -f "$quiet"/*
cp "$e2e_top"/assets/*.bmp "$quiet"/
record no-waves
start_game "$quiet"
wait_for_first_payouts
same nine credit-settled "${CREDIT_DIGIT[@]}" || fail "without wave files the credit did not reach 9"
press Right
shot_until_differs credit-settled eight "${CREDIT_DIGIT[@]}" || fail "without wave files Right did nothing"
# Well past the moment the first game was heard.
sleep 2
! game_ended || fail "the game without wave files ended"
[ "$(xdotool getwindowname "$window")" = "$TITLE" ] || fail "the game without wave files lost its title"
stop_recording
echo "without wave files: peak $(peak)"
! louder_than 0.01 || fail "the game without wave files was heard"
