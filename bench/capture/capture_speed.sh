#!/usr/bin/env bash
# How fast zwirbelalp-capture records the show at 640 x 480, as frames per second of
# wall time and as a multiple of real time (60 frames per clock second):
#   capture_speed.sh CAPTURE STUFF_DAT [CLOCK_SECONDS]
set -euo pipefail
capture=$1 archive=$2 seconds=${3:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work"

measure() {
  local name=$1; shift
  rm -rf out; mkdir out
  local start end
  start=$(date +%s.%N)
  "$capture" --quiet --seconds "$seconds" --report out/report.txt "$@" 2>/dev/null
  end=$(date +%s.%N)
  local frames
  frames=$(awk -F'\t' '$1 == "frames" { print $2 }' out/report.txt)
  awk -v name="$name" -v frames="$frames" -v start="$start" -v end="$end" 'BEGIN {
    wall = end - start
    fps = frames / wall
    printf "%-26s %6d frames  %7.2f s  %7.1f frames/s  %5.2f x real time\n", name, frames, wall, fps, fps / 60
  }'
}

echo "capture of ${seconds} s of clock time at 60 fps, 640 x 480:"
measure "no output"
measure "PNG of every frame" --png out/png
measure "y4m video" --video out/video.y4m
measure "WAV sound" --audio out/sound.wav
