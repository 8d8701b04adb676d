#!/usr/bin/env bash
# Zips the browser build's site as game portals take uploads: the files that the list names (one
# a line, as the build writes it) and nothing else of the folder, index.html at the root of the
# zip. Every file gets the time of the last commit and the zip a fixed order, so that two builds
# of one commit give the same bytes. Needs zip.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 SITE_DIR FILE_LIST ZIP_FILE" >&2
    exit 2
fi
site=$1 list=$2 zip_file=$(realpath -m "$3")
top=$(cd "$(dirname "$0")/.." && pwd)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct 2>/dev/null || echo 315532800)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
while IFS= read -r file; do
    if [ ! -f "$site/$file" ]; then
        echo "$0: the site's file $file is missing from $site" >&2
        exit 1
    fi
    cp "$site/$file" "$stage/"
done < "$list"
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
rm -f "$zip_file"
(cd "$stage" && TZ=UTC zip -X -D -q "$zip_file" $(LC_ALL=C ls))
