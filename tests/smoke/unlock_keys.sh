#!/usr/bin/env bash
# Every key reaches the key history (run under xvfb-run): J Shift A E G E R typed
# with xdotool does not unlock the hidden hunt, since Shift is a key of its own;
# J A E G E R does. Seen on the window: while the hunt is locked the invitation
# text's translucent panel (and the hint line under it) is shown; unlocking takes
# both away for the score line.
#   unlock_keys.sh PROGRAM STUFF_DAT CLOSE_HELPER PIXEL_HELPER
set -uo pipefail
. "$(dirname "$0")/real_window.sh"
close_helper=$3 pixel_helper=$4
panel_seconds=27   # show time by which the panel has glided in and settled
unlock_seconds=5

# The panel's left edge is the picture's column 30: with the panel shown, nearly every
# one of 60 rows differs between columns 26 and 34 (40 or more count as shown);
# without it only a few landscape edges do (25 or fewer count as gone).
rows_across_panel_edge() {
  local points=()
  for y in $(seq 4 8 476); do points+=("26,$y" "34,$y"); done
  "$pixel_helper" zwirbelalp "${points[@]}" |
    awk 'NR % 2 { r = $2; g = $3; b = $4; next }
         { d = ($2 > r ? $2 - r : r - $2) + ($3 > g ? $3 - g : g - $3) + ($4 > b ? $4 - b : b - $4)
           if (d > 24) n++ }
         END { print n + 0 }'
}

wait_for_main_loop
started=$(now)
xdotool key j Shift_L a e g e r
wait_for 'dispatch KeyDown 82' 60
grep -q 'dispatch KeyDown 16' trace.log || fail "Shift never reached the window procedure as a key down"
xdotool mousemove 640 600   # the program's own pointer away from the probed columns
sleep "$(seconds_since "$started" | awk -v s="$panel_seconds" '{ d = s - $1; print (d > 0 ? d : 0) }')"
locked_rows=$(rows_across_panel_edge)
[ "$locked_rows" -ge 40 ] || fail "J Shift A E G E R unlocked the hunt (rows across the panel edge: $locked_rows of 60)"

xdotool key j a e g e r
wait_for 'dispatch KeyDown 82' 60 2   # the second R
deadline=$(( $(date +%s) + unlock_seconds ))
until unlocked_rows=$(rows_across_panel_edge); [ "$unlocked_rows" -le 25 ]; do
  [ "$(date +%s)" -lt "$deadline" ] || fail "J A E G E R did not unlock the hunt ($unlocked_rows of 60 rows across the panel edge $unlock_seconds s after the R)"
  sleep 0.2
done
"$close_helper" zwirbelalp 5 >/dev/null || fail "the window was gone before the close request"
ended_within 10 || fail "still running 10 s after the close request"
expect_clean_end
echo "ok: J Shift A E G E R left the hunt locked ($locked_rows of 60 rows across the panel edge)," \
  "J A E G E R unlocked it ($unlocked_rows of 60)"
