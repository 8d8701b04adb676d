# Sourced by ./test and ./play: how the Windows build runs under Wine here.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$top/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=ja_JP.UTF-8

# Creates the Wine prefix once; the first start of Wine takes most of a minute.
wine_prefix_ready() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: creating the prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    wine_fonts_ready
}

# Wine here has no MS Gothic. Under a Japanese locale its own matching picks IPAGothic for it; under
# any other it picks a fallback font with Chinese characters but no Latin letters or digits. A
# Windows with its Japanese fonts draws the game's texts in MS Gothic, its menus in MS UI Gothic
# and an installer's texts in MS PGothic: the IPA fonts stand in for them whatever the locale.
wine_fonts_ready() {
    grep -q '"MS UI Gothic"="IPAPGothic"' "$WINEPREFIX/user.reg" 2>/dev/null && return
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v "ＭＳ ゴシック" /d IPAGothic /f >/dev/null 2>&1 &&
        wine reg add "$key" /v "ＭＳ Ｐゴシック" /d IPAPGothic /f >/dev/null 2>&1 &&
        wine reg add "$key" /v "MS UI Gothic" /d IPAPGothic /f >/dev/null 2>&1 || true
    wineserver -w || true
}

# Runs a command with a display: the one there is, or a private Xvfb for the command's length.
with_display() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
        return
    fi
    local n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    local rc=0
    DISPLAY=":$n" "$@" || rc=$?
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    return $rc
}
