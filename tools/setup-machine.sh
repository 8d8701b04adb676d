#!/usr/bin/env bash
# Installs what building, testing and playing need on a Debian machine; quiet when all is there.
set -euo pipefail

packages=(
    cmake g++ make libgtest-dev googletest libbenchmark-dev time
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
    wine wine64 xvfb xdotool imagemagick locales fonts-ipafont-gothic
    nsis zip osslsigncode openssl clang emscripten chromium firefox-esr pulseaudio pulseaudio-utils sox zlib1g-dev python3-yaml
    webkit2gtk-driver
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# The browser tests run under Node with packages from npm; any Node 18 or later will do.
command -v npm >/dev/null || missing+=(nodejs npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: ja_JP gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    as_root localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
# An English system, on which the tests check that the program still gets code page 932.
if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
    echo "setup: generating the en_US.UTF-8 locale"
    as_root localedef -i en_US -f UTF-8 en_US.UTF-8
fi
