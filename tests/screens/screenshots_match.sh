#!/bin/sh
# Renders the screenshots through the program's own drawing code and requires
# docs/*.png to be the same pictures, pixel for pixel, and no more of them.
# usage: screenshots_match.sh SCREENSHOT_TOOL REPO_ROOT   (run beside data/)
set -eu
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$1" "$out"
status=0
[ "$(ls "$out")" = "$(cd "$2/docs" && ls ./*.png | sed 's|^\./||; s|png$|bmp|')" ] || status=1
for shot in "$out"/*.bmp; do
    png="$2/docs/$(basename "$shot" .bmp).png"
    differing=$(compare -metric AE "$shot" "$png" null: 2>&1) || { echo "$png differs: $differing"; status=1; }
done
[ "$status" -eq 0 ] || echo "docs/ differs from the game's own frames: run 'make screenshots'" >&2
exit "$status"
