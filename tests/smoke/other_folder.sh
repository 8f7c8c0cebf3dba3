#!/usr/bin/env bash
# Started from another folder (run under xvfb-run), as a file manager starts programs
# in the home folder: the program with stuff.dat beside it, started in an empty
# folder, finds the archive beside itself and shows the evening; a close request ends
# it with exit code 0, and neither folder keeps a media file.
#   other_folder.sh PROGRAM STUFF_DAT CLOSE_HELPER PIXEL_HELPER
# Exit 77 (skipped) when stuff.dat has not been built.
set -uo pipefail
program=$1 archive=$2 close_helper=$3 pixel_helper=$4
startup_seconds=60
exit_seconds=30

[ -f "$archive" ] || { echo "skipped: $archive has not been built"; exit 77; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/release" "$work/home"
cp "$program" "$work/release/zwirbelalp"
cp "$archive" "$work/release/stuff.dat"
cd "$work/home" || exit 1

SDL_AUDIODRIVER=dummy "$work/release/zwirbelalp" >"$work/program.log" 2>&1 &
pid=$!

fail() {
  echo "FAIL: $*"
  cat "$work/program.log"
  exit 1
}

# The evening sky in the picture's top-left corner (the screen is black while loading).
deadline=$(( $(date +%s) + startup_seconds ))
until "$pixel_helper" zwirbelalp 2,2 2>/dev/null |
      awk '{ d = ($2 > 235 ? $2 - 235 : 235 - $2) + ($3 > 177 ? $3 - 177 : 177 - $3) + $4
             exit !(d <= 12) }'; do
  kill -0 "$pid" 2>/dev/null || fail "the program ended before the evening showed"
  [ "$(date +%s)" -lt "$deadline" ] || fail "no evening sky within $startup_seconds s"
  sleep 0.2
done
"$close_helper" zwirbelalp 5 >/dev/null || fail "the window was gone before the close request"
for _ in $(seq $((exit_seconds * 10))); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end within $exit_seconds s of the close request"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code"
left=$(ls -A "$work/release" | grep -v -x -e zwirbelalp -e stuff.dat || true)
[ -z "$left" ] || fail "files left beside the program: $left"
[ -z "$(ls -A "$work/home")" ] || fail "files left in the folder it was started in: $(ls -A "$work/home")"
echo "ok: started from another folder, the evening showed, exit code 0, no files left"
