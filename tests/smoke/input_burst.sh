#!/usr/bin/env bash
# A fast mouse never delays keys or closing (run under xvfb-run): after a burst of
# pointer motion Escape still starts the outro within a few turns of the main loop,
# and after another burst a close request is taken within a few turns and the
# program ends within CLOSE_SECONDS (3; a sanitizer build draws far fewer frames a
# second and passes more).
#   input_burst.sh PROGRAM STUFF_DAT CLOSE_HELPER [CLOSE_SECONDS]
set -uo pipefail
. "$(dirname "$0")/real_window.sh"
close_helper=$3 close_seconds=${4:-3}
burst=3000
waiting_turns=5    # the merged move, then the key or the close request: a few turns at most

# turns_waited KIND: turns between a message's arrival and its dispatch (the last one).
turns_waited() {
  echo $(( $(grep "dispatch $1" trace.log | tail -n 1 | awk '{ print $4 }') -
           $(grep "queue $1" trace.log | tail -n 1 | awk '{ print $4 }') ))
}

wait_for_main_loop
pointer_burst "$burst"
xdotool key Escape
wait_for 'dispatch KeyDown 27' 60
moves=$(grep -cE '(queue|merge) MouseMove' trace.log)
[ "$moves" -ge "$burst" ] || fail "only $moves of the $burst pointer moves reached the program"
escape_waited=$(turns_waited 'KeyDown 27')
[ "$escape_waited" -le "$waiting_turns" ] || fail "Escape waited $escape_waited turns behind the pointer moves"

pointer_burst "$burst"
"$close_helper" zwirbelalp 5 >/dev/null || fail "the window was gone before the close request"
requested=$(now)
ended_within "$close_seconds" || fail "still running $close_seconds s after the close request"
took=$(seconds_since "$requested")
close_waited=$(turns_waited 'Close')
[ "$close_waited" -le "$waiting_turns" ] || fail "the close request waited $close_waited turns behind the pointer moves"
expect_clean_end
echo "ok: $moves pointer moves; Escape taken $escape_waited turns, the close request $close_waited turns" \
  "after arriving; ended $took s after the close request"
