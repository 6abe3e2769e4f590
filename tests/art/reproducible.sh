#!/bin/sh
# Runs the artwork generator into a fresh directory and compares every file
# byte for byte with the pictures committed under data/ (both ways, so a
# picture the generator no longer makes is caught too).
# usage: reproducible.sh PYTHON REPO_ROOT
set -eu
python=$1
root=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$python" "$root/tools/make_artwork.py" "$out"
status=0
for dir in game bolinha menu; do
    if ! diff -r "$out/$dir" "$root/data/$dir"; then
        status=1
    fi
done
if [ "$status" -ne 0 ]; then
    echo "data/ differs from what tools/make_artwork.py draws: run 'make artwork' and commit" >&2
fi
exit "$status"
