#!/usr/bin/env bash
# Zips the browser build's site folder as game portals take uploads: index.html at the root of
# the zip. Every file gets the time of the last commit and the zip a fixed order, so that two
# builds of one commit give the same bytes. Needs zip.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 SITE_DIR ZIP_FILE" >&2
    exit 2
fi
site=$1 zip_file=$(realpath -m "$2")
top=$(cd "$(dirname "$0")/.." && pwd)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || echo 315532800)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$site"/* "$stage/"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -X -D -q "$zip_file" $(LC_ALL=C ls))
