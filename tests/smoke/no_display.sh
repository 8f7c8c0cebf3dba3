#!/usr/bin/env bash
# The real program with no display at all (no DISPLAY, no WAYLAND_DISPLAY): it says
# so in one line and ends with a non-zero code before writing anything. SDL's
# invisible offscreen driver asked for by name still runs the show. Sound: a device
# that cannot be opened is reported in one line and the show runs on the silent
# driver; the silent driver asked for by name is not reported.
#   no_display.sh PROGRAM STUFF_DAT
# Exit 77 (skipped) when stuff.dat has not been built, or when SDL found a display
# of its own after all (a console's DRM device).
set -uo pipefail
program=$1 archive=$2
startup_seconds=60

[ -f "$archive" ] || { echo "skipped: $archive has not been built"; exit 77; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work" || exit 1
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER SDL_AUDIODRIVER
pid=

fail() {
  echo "FAIL: $*"
  grep -v 'zwirbelalp trace' err.log
  exit 1
}
left_behind() { ls -A | grep -v -x -e stuff.dat -e err.log || true; }

timeout "$startup_seconds" "$program" 2>err.log
code=$?
if [ "$code" -eq 0 ] || [ "$code" -eq 124 ]; then
  if ls /dev/dri/card* >/dev/null 2>&1; then echo "skipped: SDL found a display on /dev/dri"; exit 77; fi
  fail "without a display the program ended with code $code (124: still running after ${startup_seconds} s)"
fi
[ "$(grep -c 'no display found' err.log)" -eq 1 ] || fail "no one-line report of the missing display"
grep 'no display found' err.log | grep 'DISPLAY not set' | grep 'WAYLAND_DISPLAY not set' |
  grep -q 'zwirbelalp-capture' || fail "the report does not say what was looked at and what to use"
[ -z "$(left_behind)" ] || fail "files written without a display: $(left_behind)"
echo "ok: no display: exit code $code, one line: $(grep 'no display found' err.log)"

# offscreen_run AUDIO_DRIVER: the show on the offscreen driver until its main loop
# runs, then SIGTERM; it must end with code 0 and leave nothing behind.
# (SDL unloads the offscreen driver's EGL libraries at its end, so in a sanitizer build
# their one-time allocations cannot be told from the program's: no leak check here;
# smoke_real_window checks the program's leaks.)
offscreen_run() {
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=$1 ZW_TRACE_MESSAGES=1 "$program" 2>err.log &
  pid=$!
  local deadline=$(( $(date +%s) + startup_seconds ))
  until grep -q 'dispatch' err.log; do
    kill -0 "$pid" 2>/dev/null || fail "SDL_VIDEODRIVER=offscreen: the program ended before its main loop"
    [ "$(date +%s)" -lt "$deadline" ] || fail "SDL_VIDEODRIVER=offscreen: no main loop within $startup_seconds s"
    sleep 0.05
  done
  kill -TERM "$pid"   # SDL turns it into a close request (a background job ignores Ctrl+C)
  wait "$pid"
  code=$?
  [ "$code" -eq 0 ] || fail "SDL_VIDEODRIVER=offscreen: exit code $code"
  [ -z "$(left_behind)" ] || fail "files left behind: $(left_behind)"
  ! grep -q 'no display found' err.log || fail "SDL_VIDEODRIVER=offscreen was refused"
}

offscreen_run nosuchdriver
[ "$(grep -c 'no sound device' err.log)" -eq 1 ] || fail "a sound device that cannot be opened is not reported in one line"
echo "ok: offscreen asked for by name runs; $(grep 'no sound device' err.log)"
offscreen_run dummy
! grep -q 'no sound device' err.log || fail "the silent driver asked for by name was reported as a failure"
echo "ok: the silent driver asked for by name runs without a report"
