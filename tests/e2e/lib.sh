# Sourced by the end-to-end tests. Every test takes three arguments: vorkelm.exe, window-rect.exe
# and a folder under which it keeps its screenshots (for people to look at when it fails).
#
# Positions given to the region functions are canvas pixels: the canvas is copied to the client
# area at (0, 0), and the client area lies below the menu bar inside the game's X window.
set -euo pipefail

e2e_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$e2e_top/tools/wine-env.sh"

if [ $# -ne 3 ]; then
    echo "usage: $0 VORKELM_EXE WINDOW_RECT_EXE SHOTS_DIR" >&2
    exit 2
fi
# Run by hand without a display, a test gets a private Xvfb.
if [ -z "${DISPLAY:-}" ]; then
    rc=0
    with_display bash "$0" "$@" || rc=$?
    exit $rc
fi

game_exe=$1
rect_exe=$2
shots="$3/$(basename "$0" _test.sh)"
mkdir -p "$shots"
rm -f "$shots"/*.png

TITLE="Vorkelm～５台目～"
ABOUT_TITLE="ﾊﾞｰｼﾞｮﾝ情報"
CLASS=MY

# Canvas regions, as x y width height.
CREDIT_DIGIT=(0 46 33 24)     # the first digit of the credit, drawn at (5, 50); left of the About box
CATCHER_BAND=(126 140 170 21) # every place of the catcher
PUSHER=(112 150 194 132)      # the bar at all its sizes
RIGHT_LANE=(226 10 50 126)    # where a coin dropped with Right falls, jostled sideways
LEFT_LANE=(148 10 42 126)     # the same for Left
MACHINE=(100 20 218 370)      # back wall to base

game_pid=
window=
dx=0
dy=0

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a command every 0.1 s until it succeeds, for at most $1 seconds.
poll() {
    local timeout=$1
    shift
    local end=$((SECONDS + timeout))
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

# A visible window of the game whose title matches $1; its id in $found. Without a $game_pid (a
# game that another program started) any window of this test's own display will do.
find_window() {
    found=$(xdotool search --all --onlyvisible ${game_pid:+--pid "$game_pid"} --name "$1" 2>/dev/null |
        head -n 1)
    [ -n "$found" ]
}

no_window() {
    ! find_window "$1"
}

# Starts the game from folder $1, by default the assets folder, as a player's copy would run, and
# waits for its window.
start_game() {
    (cd "${1:-$e2e_top/assets}" && exec wine "$game_exe") >>"$shots/wine.log" 2>&1 &
    game_pid=$!
    if ! poll 60 find_window "^Vorkelm"; then
        ps -o pid,stat,etime,args -p "$game_pid" >&2 || true
        xdotool search --all --pid "$game_pid" --name '' getwindowname %@ >&2 2>/dev/null || true
        fail "no game window appeared"
    fi
    take_window "$found"
}

# Makes window $1 the game's window that keys go to and screenshots show.
take_window() {
    window=$1
    # An Alt+F4 that closed an earlier game had its Alt release sent to a window that was gone,
    # and Wine keeps the keyboard's state for the whole desktop: let go of Alt before playing.
    xdotool keyup --window "$window" alt 2>/dev/null
    # The client area's origin from Windows, relative to the X window's.
    local size client
    size=$(wine "$rect_exe" "$CLASS" | tr -d '\r')
    read -r outer_width outer_height client_x client_y client_width client_height <<<"$size"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    x_width=$WIDTH
    x_height=$HEIGHT
    dx=$((client_x - X))
    dy=$((client_y - Y))
}

game_ended() {
    local state
    state=$(ps -o stat= -p "$game_pid") || return 0
    [[ $state == Z* ]]
}

# Waits up to 20 s for the game to end; its exit code in $exit_code.
wait_for_exit() {
    poll 20 game_ended || fail "the game did not end"
    exit_code=0
    wait "$game_pid" || exit_code=$?
    game_pid=
}

stop_game() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
}
trap stop_game EXIT

# Keys for a window (the game's by default), as xdotool names them.
press() {
    xdotool key --window "$window" "$@" 2>/dev/null
}

press_on() {
    local target=$1
    shift
    xdotool key --window "$target" "$@" 2>/dev/null
}

shot() {
    /usr/bin/import -window "$window" "$shots/$1.png"
}

# ImageMagick's crop of a canvas region x y width height.
crop() {
    echo "${3}x${4}+$(($1 + dx))+$(($2 + dy))"
}

# Whether a canvas region (x y width height) differs between two screenshots.
differ() {
    local a=$1 b=$2
    shift 2
    local area pixels
    area=$(crop "$@")
    pixels=$(/usr/bin/compare -metric AE "$shots/$a.png[$area]" "$shots/$b.png[$area]" null: 2>&1) || true
    [ "${pixels%% *}" != 0 ]
}

same() {
    ! differ "$@"
}

# The mean brightness of a canvas region, from 0 to 1.
brightness() {
    local name=$1
    shift
    /usr/bin/convert "$shots/$name.png[$(crop "$@")]" -colorspace Gray -format '%[fx:mean]' info:
}

# Takes screenshots named $2 until region $3.. differs from screenshot $1, for at most 5 s.
shot_until_differs() {
    local before=$1 after=$2
    shift 2
    poll 5 shot_and_differ "$before" "$after" "$@"
}

shot_and_differ() {
    local before=$1 after=$2
    shift 2
    shot "$after"
    differ "$before" "$after" "$@"
}

now_ms() {
    local t=${EPOCHREALTIME/./}
    echo $((t / 1000))
}

# Whether the machine is drawn from its pictures: a window without them shows little more than the
# lamp's lines on black. Until the first tick the window shows a blank canvas.
machine_drawn() {
    shot machine
    awk -v m="$(brightness machine "${MACHINE[@]}")" 'BEGIN { exit !(m > 0.1) }'
}

# Points Wine at a prefix of this test's own: a copy of one that nothing has run in, as fresh as a
# new one in a second or two instead of most of a minute. It goes when the test ends.
fresh_prefix() {
    local pristine
    pristine=$(dirname "$shots")/pristine-prefix
    WINEPREFIX=$pristine wine_prefix_ready
    # A test may go through several, one after another.
    [ -d "$shots/prefix" ] && WINEPREFIX=$shots/prefix wineserver -k 2>/dev/null || true
    export WINEPREFIX=$shots/prefix
    # Installers' shortcuts stay in the prefix, out of the desktop's menus.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
    rm -rf "$WINEPREFIX"
    cp -a "$pristine" "$WINEPREFIX"
    trap 'stop_game; wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
}

# Whether the credit's digit shows anything: before the first tick the canvas is still blank.
credit_drawn() {
    [ "$(brightness "$1" "${CREDIT_DIGIT[@]}")" != 0 ]
}

# Waits until the first pay-outs show. The credit reads 0 from the first tick, 9 from the fourth,
# and stays 9 while nobody plays: seen as a change from one drawn number to another, or, when the
# 0 went by between two screenshots, as a number that stays for 3 s.
wait_for_first_payouts() {
    local drawn_changes=0 since end=$(($(now_ms) + 20000))
    shot credit-settled
    since=$(now_ms)
    while [ "$(now_ms)" -lt $end ]; do
        sleep 0.1
        shot credit-now
        if differ credit-settled credit-now "${CREDIT_DIGIT[@]}"; then
            credit_drawn credit-settled && drawn_changes=$((drawn_changes + 1))
            cp "$shots/credit-now.png" "$shots/credit-settled.png"
            since=$(now_ms)
        elif credit_drawn credit-settled; then
            if [ $drawn_changes -gt 0 ] || [ $(($(now_ms) - since)) -ge 3000 ]; then
                return 0
            fi
        fi
    done
    fail "the credit never settled"
}
