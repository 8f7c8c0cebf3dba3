#!/usr/bin/env bash
# Frames per second of the desktop program in its real window, part by part, on the
# software GL of a virtual X display (Xvfb: no display to wait for, so the rate is
# what the program and the renderer can do):
#   desktop_fps.sh PROGRAM STUFF_DAT
# The program's frame-rate trace (ZW_TRACE_FPS) counts the frames of each second
# from the first; Escape goes to the window at second 40 and the outro ends the
# program by itself 17 s later.
set -euo pipefail
program=$(realpath "$1") archive=$(realpath "$2")
escape_at=40
end_at=56

if [ -z "${ZW_FPS_IN_XVFB:-}" ]; then
  for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "desktop_fps: $tool is not installed" >&2; exit 1; }
  done
  exec env ZW_FPS_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
cp "$archive" "$work/stuff.dat"
cd "$work"

echo "desktop program on the real clock, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M')"
ZW_TRACE_FPS=1 SDL_AUDIODRIVER=dummy "$program" >program.log 2>fps.log &
pid=$!
for _ in $(seq 600); do
  grep -q 'fps: renderer' fps.log && break
  kill -0 "$pid" 2>/dev/null || { cat program.log fps.log; echo "desktop_fps: the program ended before its first frame"; exit 1; }
  sleep 0.05
done
first=$(date +%s.%N)
sed -n 's/^zwirbelalp fps: renderer /GL renderer: /p' fps.log
sleep "$(awk -v f="$first" -v e="$escape_at" -v n="$(date +%s.%N)" 'BEGIN { d = f + e - n; print (d > 0 ? d : 0) }')"
xdotool key Escape
for _ in $(seq 400); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "desktop_fps: the program still ran 40 s after the Escape"
  exit 1
fi
wait "$pid" || true
pid=""

awk -v escape="$escape_at" -v end="$end_at" '
  /^zwirbelalp fps: second / { sub(":", "", $4); frames[$4] = $5 }
  function part(name, from, to,   s, n) {
    for (s = from + 1; s <= to; s++) n += frames[s]
    printf "%-11s %-12s %7d %6.1f\n", name, from "-" to, n, n / (to - from)
  }
  END {
    printf "%-11s %-12s %7s %6s\n", "part", "show second", "frames", "fps"
    part("evening", 0, 16); part("day", 16, 24); part("text panel", 24, escape); part("outro", escape, end)
  }' fps.log
