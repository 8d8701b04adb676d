#!/usr/bin/env bash
# Signs the Windows program FILE in place (Authenticode, SHA-256) with the certificate that CONFIG,
# the release.conf, names, and has the signature time-stamped where it names a server. Without a
# server the signing time is SOURCE_DATE_EPOCH, so that signing a build twice gives the same bytes.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 CONFIG FILE" >&2
    exit 2
fi
source "$1"
file=$2
args=(-pkcs12 "$sign_pfx" -readpass "$sign_password_file" -h sha256 -n "$title")
[ -z "$homepage" ] || args+=(-i "$homepage")
if [ -n "$sign_timestamp_url" ]; then
    args+=(-ts "$sign_timestamp_url")
else
    args+=(-time "${SOURCE_DATE_EPOCH:-$(date +%s)}")
fi
rm -f "$file.signed"
osslsigncode sign "${args[@]}" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
