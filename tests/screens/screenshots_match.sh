#!/bin/sh
# Renders the screenshots through the program's own drawing code and compares
# each, pixel for pixel, with the one in docs/ (both ways, so a picture that is
# no longer rendered is caught too).
# usage: screenshots_match.sh SCREENSHOT_TOOL REPO_ROOT   (run beside data/)
set -eu
tool=$1
root=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" "$out"
status=0
for shot in "$out"/*.bmp; do
    png="$root/docs/$(basename "$shot" .bmp).png"
    if [ ! -f "$png" ]; then
        echo "$png is missing"
        status=1
    elif ! differing=$(compare -metric AE "$shot" "$png" null: 2>&1); then
        echo "$png: $differing pixels differ"
        status=1
    fi
done
for png in "$root"/docs/*.png; do
    if [ ! -f "$out/$(basename "$png" .png).bmp" ]; then
        echo "$png is no longer rendered"
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "docs/ differs from the game's own frames: run 'make screenshots' and commit" >&2
fi
exit "$status"
