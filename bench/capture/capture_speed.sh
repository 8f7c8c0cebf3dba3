#!/usr/bin/env bash
# How fast zwirbelalp-capture records the show at 640 x 480, one run of each case:
#   capture_speed.sh CAPTURE STUFF_DAT [PNG_BENCH]
# - frames per second of wall time and the multiple of real time, per output;
# - the cost of outputs: every frame as PNG plus the WAV, and every frame into a
#   y4m video, against no output;
# - the cost of the text: show seconds 0-40 (text panel from 25 s) against 0-20
#   (equal cost per frame gives 2.0);
# - start-up: from start to the first frames (a run of 0.1 s of clock time);
# - with PNG_BENCH: size and time of PNG compression settings on three frames.
# Wall time and CPU time (all threads) are printed; ratios of both.
set -euo pipefail
capture=$(realpath "$1") archive=$2 pngbench=${3:+$(realpath "$3")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work"

# measure NAME SECONDS ARGS...: prints a line, leaves the wall time in $wall
measure() {
  local name=$1 seconds=$2; shift 2
  rm -rf out; mkdir out
  local start end times frames
  start=$(date +%s.%N)
  times=$( { /usr/bin/time -f '%U %S' "$capture" --quiet --seconds "$seconds" --report out/report.txt "$@" \
             2>&1 >/dev/null; } | tail -1)
  end=$(date +%s.%N)
  frames=$(awk -F'\t' '$1 == "frames" { print $2 }' out/report.txt)
  wall=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
  cpu=$(awk -v t="$times" 'BEGIN { split(t, c, " "); printf "%.2f", c[1] + c[2] }')
  awk -v name="$name" -v frames="$frames" -v wall="$wall" -v cpu="$cpu" 'BEGIN {
    printf "%-30s %6d frames  %8.2f s wall  %8.2f s cpu  %6.1f frames/s  %5.2f x real time\n",
           name, frames, wall, cpu, frames / wall, frames / wall / 60
  }'
}

# ratio NAME A_WALL A_CPU B_WALL B_CPU
ratio() {
  awk -v name="$1" -v aw="$2" -v ac="$3" -v bw="$4" -v bc="$5" \
    'BEGIN { printf "%-44s %5.2f wall  %5.2f cpu\n", name, aw / bw, ac / bc }'
}

echo "zwirbelalp-capture, 640 x 480 at 60 fps, $(nproc) cores, $(date -u +%Y-%m-%d):"
measure "start-up (0.1 s of clock)" 0.1; startup=$wall
measure "0-20 s, no output" 20; plain20=("$wall" "$cpu")
measure "0-20 s, every frame PNG + WAV" 20 --png out/png --audio out/sound.wav; png20=("$wall" "$cpu")
measure "0-20 s, y4m video" 20 --video out/video.y4m; y4m20=("$wall" "$cpu")
measure "0-40 s, no output" 40; plain40=("$wall" "$cpu")
echo
ratio "PNG of every frame + WAV / no output:" "${png20[@]}" "${plain20[@]}"
ratio "y4m video / no output:" "${y4m20[@]}" "${plain20[@]}"
ratio "show seconds 0-40 / 0-20 (text from 25 s):" "${plain40[@]}" "${plain20[@]}"
echo "start-up to the first frames: ${startup} s"

if [ -n "$pngbench" ]; then
  echo
  echo "PNG compression of three frames (evening, landscape, text panel):"
  rm -rf frames; "$capture" --quiet --seconds 31 --png frames --at 12,20,30 >/dev/null 2>&1
  "$pngbench" frames/*.png
fi
