#!/usr/bin/env bash
# The real program in a virtual X display (run under xvfb-run): it opens its window,
# and a close request sent from outside ends it with exit code 0, leaving no media
# files behind.
#   smoke.sh PROGRAM CLOSE_HELPER STUFF_DAT
# Exit 77 (skipped) when stuff.dat has not been built: without it the program shows
# its error boxes, which wait for a click.
set -uo pipefail
program=$1 close_helper=$2 archive=$3
startup_seconds=30
exit_seconds=30

if [ ! -f "$archive" ]; then
  echo "skipped: $archive has not been built"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work"

SDL_AUDIODRIVER=dummy "$program" >program.log 2>&1 &
pid=$!
if ! "$close_helper" zwirbelalp "$startup_seconds"; then
  kill "$pid" 2>/dev/null; wait "$pid"
  echo "FAIL: the window did not appear"; cat program.log
  exit 1
fi
for _ in $(seq $((exit_seconds * 10))); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"; wait "$pid"
  echo "FAIL: the program did not end within ${exit_seconds} s of the close request"; cat program.log
  exit 1
fi
wait "$pid"
code=$?
left=$(ls -A | grep -v -x -e stuff.dat -e program.log || true)
cat program.log
if [ "$code" -ne 0 ]; then echo "FAIL: exit code $code"; exit 1; fi
if [ -n "$left" ]; then echo "FAIL: files left behind: $left"; exit 1; fi
echo "ok: window opened, closed on request, exit code 0"
