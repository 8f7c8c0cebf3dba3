#!/usr/bin/env bash
# The Linux release as a visitor gets it: the archive scripts/release makes, unpacked,
# its program run where the system's SDL2 and libopenmpt are hidden (a private mount
# namespace with an empty file bound over each), in a virtual X display of its own. It
# shows the evening (the sky's colour over much of the picture, the sun at its centre)
# and a close request ends it with exit code 0.
#   linux_release_test.sh NATIVE_BUILD PIXEL_HELPER CLOSE_HELPER
# Exit 77 (skipped) when this machine cannot make a private mount namespace or has no
# Xvfb. The first run builds SDL2 and libopenmpt (cached afterwards): minutes.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
native=$1 pixel_helper=$2 close_helper=$3
startup_seconds=60
exit_seconds=30
sky="235 177 0"

# Root makes the namespace itself; anyone else through a user namespace.
namespace=(unshare -m)
[ "$(id -u)" -eq 0 ] || namespace=(unshare -r -m)
"${namespace[@]}" true 2>/dev/null || { echo "skipped: ${namespace[*]} is not allowed here"; exit 77; }
command -v Xvfb >/dev/null || { echo "skipped: Xvfb is missing"; exit 77; }

work=$(mktemp -d)
xvfb_pid="" pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/program.log" ] && cat "$work/program.log"; exit 1; }

ZW_BUILD_DIR="$native" ZW_RELEASE_DIR="$work/out" "$root/scripts/release" linux >"$work/release.log" 2>&1 ||
  { cat "$work/release.log"; fail "scripts/release linux failed"; }
tar -C "$work" -xzf "$work/out/zwirbelalp-linux-x86_64.tar.gz"
folder="$work/zwirbelalp"
grep -q "glibc 2.34 or newer" "$folder/zwirbelalp.txt" || fail "zwirbelalp.txt does not say which C library it needs"

# "${hide[@]}" COMMAND runs it where every file of the system's SDL2 and libopenmpt is empty.
hidden_libraries=$(ldconfig -p | awk '/libSDL2-2\.0\.so|libopenmpt\.so/ { print $NF }' | xargs -r readlink -f | sort -u)
[ -n "$hidden_libraries" ] || echo "note: no SDL2 or libopenmpt on this system to hide"
: >"$work/empty"
hide=("${namespace[@]}" bash -c 'empty=$1 files=$2; shift 2
  for file in $files; do mount --bind "$empty" "$file" || exit 125; done
  exec "$@"' hide "$work/empty" "$hidden_libraries")

# The development build links them: there it cannot start.
if [ -n "$hidden_libraries" ] && [ -x "$native/zwirbelalp" ]; then
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "${hide[@]}" "$native/zwirbelalp") >"$work/control.log" 2>&1
  grep -q "error while loading shared libraries" "$work/control.log" ||
    { cat "$work/control.log"; fail "the system's SDL2 and libopenmpt were not hidden"; }
fi

# 640 x 480: the program's full-screen picture fills the screen pixel for pixel.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"

# Started from /, as a file manager might: it finds stuff.dat beside itself.
(cd / && SDL_AUDIODRIVER=dummy exec "${hide[@]}" "$folder/zwirbelalp") >"$work/program.log" 2>&1 &
pid=$!

points=()
for y in $(seq 20 40 460); do for x in $(seq 20 40 620); do points+=("$x,$y"); done; done
# Share of the sampled points in the evening sky's colour, in percent.
sky_share() {
  "$pixel_helper" zwirbelalp "${points[@]}" | awk -v sky="$sky" '{ n++; if ($2 " " $3 " " $4 == sky) s++ }
    END { print n ? int(100 * s / n) : 0 }'
}

# The screen stays black while the program loads; the show's clock starts with its first frame.
for _ in $(seq $((startup_seconds * 4))); do
  kill -0 "$pid" 2>/dev/null || fail "the program ended before showing anything"
  [ "$(sky_share 2>/dev/null || echo 0)" -gt 0 ] && break
  sleep 0.25
done
sleep 3
share=$(sky_share)
read -r _ red green blue < <("$pixel_helper" zwirbelalp 320,240)
"$close_helper" zwirbelalp 5 >/dev/null || fail "the window was gone before the close request"
for _ in $(seq $((exit_seconds * 10))); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "still running $exit_seconds s after the close request"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code after the close request"
[ "$share" -ge 20 ] || fail "no evening sky: $share % of the picture has its colour ($sky)"
[ "$red" -ge 200 ] && [ "$green" -le 90 ] && [ "$blue" -le 40 ] ||
  fail "no sun at the centre of the picture: $red $green $blue"
echo "ok: the release's program, without the system's SDL2 and libopenmpt, showed the evening" \
  "(sky $share % of the picture, the sun $red $green $blue) and ended with exit code 0"
