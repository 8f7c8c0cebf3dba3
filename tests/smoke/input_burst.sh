#!/usr/bin/env bash
# A fast mouse never delays keys or closing (run under xvfb-run): after a burst of
# pointer motion Escape still starts the outro within a few turns of the main loop,
# and after another burst a close request still ends the program within 3 s.
#   input_burst.sh PROGRAM STUFF_DAT CLOSE_HELPER
set -uo pipefail
. "$(dirname "$0")/real_window.sh"
close_helper=$3
burst=3000
escape_turns=5     # the merged move, then the key: a few turns at most
close_seconds=3

wait_for_main_loop
pointer_burst "$burst"
xdotool key Escape
wait_for 'dispatch KeyDown 27' 60
moves=$(grep -cE '(queue|merge) MouseMove' trace.log)
[ "$moves" -ge "$burst" ] || fail "only $moves of the $burst pointer moves reached the program"
waited=$(( $(turn_of 'dispatch KeyDown 27') - $(turn_of 'queue KeyDown 27') ))
[ "$waited" -le "$escape_turns" ] || fail "Escape waited $waited turns behind the pointer moves"

pointer_burst "$burst"
"$close_helper" zwirbelalp 5 >/dev/null || fail "the window was gone before the close request"
requested=$(now)
ended_within "$close_seconds" || fail "still running $close_seconds s after the close request"
took=$(seconds_since "$requested")
expect_clean_end
echo "ok: $moves pointer moves; Escape dispatched $waited turns after it arrived; ended $took s after the close request"
