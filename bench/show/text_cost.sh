#!/usr/bin/env bash
# What the show's parts cost on the software renderer, from zwirbelalp-capture
# runs with no output (60 fps, 640 x 480), one run each:
#   text_cost.sh CAPTURE STUFF_DAT
# Runs show seconds 0-20, 0-25 and 0-40 and prints, in CPU time of all threads
# (the renderer draws on threads of its own, and a busy machine makes wall time
# say little):
# - the ratio 0-40 / 0-20 (equal cost per frame gives 2.0);
# - the CPU milliseconds per frame of the evening and the landscape's arrival
#   (0-20 s), the full day landscape (20-25 s) and the text panel (25-40 s).
set -euo pipefail
capture=$(realpath "$1") archive=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work"

# cpu SECONDS: CPU seconds (user + system, all threads) of a run of that length
cpu() {
  /usr/bin/time -f '%U %S' "$capture" --quiet --seconds "$1" 2>&1 >/dev/null | tail -1 |
    awk '{ printf "%.3f", $1 + $2 }'
}

echo "zwirbelalp-capture, no output, $(nproc) cores, $(date -u +%Y-%m-%d), CPU time:"
c20=$(cpu 20)
c25=$(cpu 25)
c40=$(cpu 40)
awk -v a="$c20" -v b="$c25" -v c="$c40" 'BEGIN {
  printf "show seconds 0-20: %.2f s, 0-25: %.2f s, 0-40: %.2f s\n", a, b, c
  printf "0-40 / 0-20: %.2f\n", c / a
  printf "per frame: evening and arrival (0-20 s) %.1f ms, day landscape (20-25 s) %.1f ms, text panel (25-40 s) %.1f ms\n",
         a / 1200 * 1000, (b - a) / 300 * 1000, (c - b) / 900 * 1000
}'
