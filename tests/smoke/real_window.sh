# Shared by the real-window input tests (sourced, under xvfb-run): the program runs in
# a private directory with the archive, its message trace (ZW_TRACE_MESSAGES) goes to
# trace.log there, and the helpers below wait on it and check how it ended.
#   real_window.sh is sourced with: PROGRAM STUFF_DAT ...
# Exits 77 (skipped) when xdotool is missing or stuff.dat has not been built.
program=$1 archive=$2
startup_seconds=60

command -v xdotool >/dev/null || { echo "skipped: xdotool is missing"; exit 77; }
[ -f "$archive" ] || { echo "skipped: $archive has not been built"; exit 77; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$archive" "$work/stuff.dat"
cd "$work" || exit 1

# Typed keys make the X library load and unload modules of its own, whose one-time
# allocations a sanitizer build cannot tell from the program's: no leak check here;
# smoke_real_window checks the program's leaks.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  ZW_TRACE_MESSAGES=1 SDL_AUDIODRIVER=dummy "$program" >program.log 2>trace.log &
pid=$!

fail() {
  echo "FAIL: $*"
  grep -v 'zwirbelalp trace' trace.log
  exit 1
}

now() { date +%s.%N; }
seconds_since() { echo "$(now) $1" | awk '{ printf "%.2f", $1 - $2 }'; }

# wait_for REGEX SECONDS [COUNT]: until COUNT (1) trace lines match; fails when
# they do not in time.
wait_for() {
  local deadline=$(( $(date +%s) + $2 ))
  until [ "$(grep -cE "$1" trace.log)" -ge "${3:-1}" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for '$1'"
    [ "$(date +%s)" -lt "$deadline" ] || fail "no '$1' within $2 s"
    sleep 0.05
  done
}

# The main loop runs once it dispatches its first message (the window's own events).
wait_for_main_loop() { wait_for 'dispatch' "$startup_seconds"; }

# pointer_burst N: N pointer moves over the window as fast as the X server takes them.
pointer_burst() {
  local moves=()
  for i in $(seq "$1"); do moves+=(mousemove $((100 + i % 900)) $((100 + i % 700))); done
  xdotool "${moves[@]}"
}

# ended_within SECONDS: true when the program has ended within SECONDS from now.
ended_within() {
  local deadline
  deadline=$(echo "$(now) $1" | awk '{ printf "%.2f", $1 + $2 }')
  while kill -0 "$pid" 2>/dev/null; do
    awk -v t="$(now)" -v d="$deadline" 'BEGIN { exit !(t > d) }' && return 1
    sleep 0.02
  done
  return 0
}

# expect_clean_end: exit code 0 and no media files left behind.
expect_clean_end() {
  wait "$pid"
  local code=$? left
  left=$(ls -A | grep -v -x -e stuff.dat -e program.log -e trace.log || true)
  [ "$code" -eq 0 ] || fail "exit code $code"
  [ -z "$left" ] || fail "files left behind: $left"
}
