#!/usr/bin/env bash
# The web page as a viewer sees it: builds the page (scripts/web/build-page), serves
# it on 127.0.0.1, opens it in headless chromium with probe.js added, and checks the
# probe's report. Usage: page_test.sh NATIVE_BUILD_DIR. Exit 77 (skipped) when
# emscripten or chromium is not installed. Leaves no server or browser running.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
native="$(cd "$1" && pwd)"

for tool in emcc chromium python3; do
  command -v "$tool" >/dev/null || { echo "page_test: $tool not installed; skipped"; exit 77; }
done

page=$(ZW_WEB_BUILD_DIR="$native/web" "$root/scripts/web/build-page" "$native")
work=$(mktemp -d "${TMPDIR:-/tmp}/zw-web-test.XXXXXX")
server=""
browser=""
cleanup() {
  [ -n "$browser" ] && kill -- "-$browser" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

mkdir "$work/site"
cp "$page"/index.html "$page"/zwirbelalp.js "$page"/zwirbelalp.wasm "$page"/stuff.dat "$here/probe.js" "$work/site/"
sed 's|</body>|<script src="probe.js"></script>\n</body>|' "$page/index.html" > "$work/site/probe.html"

# Port 0: the system picks a free one; the server prints which.
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { cat "$work/server.log"; echo "page_test: the server did not start"; exit 1; }

# Its own process group, so the cleanup ends the browser with all its helpers.
setsid chromium --headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
  --disable-background-networking --disable-component-update --disable-sync --no-first-run \
  --disable-quic --disable-extensions --mute-audio --autoplay-policy=no-user-gesture-required \
  --window-size=1000,600 --user-data-dir="$work/profile" \
  --virtual-time-budget=120000 --dump-dom "http://127.0.0.1:$port/probe.html" \
  >"$work/dom.html" 2>"$work/chromium.log" &
browser=$!
if ! timeout 600 tail --pid="$browser" -f /dev/null; then
  echo "page_test: chromium did not finish in 600 s"
fi
wait "$browser" || true
browser=""

# The same moments from the native program on its virtual clock, for the comparison.
times=$(sed -n 's/.*var compareAt = \[\(.*\)\];.*/\1/p' "$here/probe.js" | tr -d ' ')
escape=$(sed -n 's/.*var escapeAt = \([0-9.]*\);.*/\1/p' "$here/probe.js")
pointer=$(sed -n 's/.*var pointer = { at: \([0-9.]*\), x: \([0-9]*\), y: \([0-9]*\) };.*/\1 mouse \2 \3/p' "$here/probe.js")
# The hunt's keys one frame apart, as the probe types them.
unlock_at=$(sed -n 's/.*var unlockAt = \([0-9.]*\);.*/\1/p' "$here/probe.js")
unlock_keys=$(sed -n "s/.*var unlockKeys = '\([A-Z]*\)';.*/\1/p" "$here/probe.js")
keys=$(awk -v at="$unlock_at" -v k="$unlock_keys" \
         'BEGIN { for (i = 1; i <= length(k); i++) printf "%.4f key %s\n", at + (i - 1) / 60, substr(k, i, 1) }')
printf '%s\n%s\n%s key Escape\n' "$pointer" "$keys" "$escape" > "$work/input.txt"
mkdir "$work/run" && cp "$native/stuff.dat" "$work/run/"
"$native/zwirbelalp-capture" --quiet --dir "$work/run" --seconds "$(awk -v t="${times##*,}" 'BEGIN { print t + 1 }')" \
  --input "$work/input.txt" \
  --png "$work/native" --at "$times" --report "$work/native.txt" >/dev/null

report=$(sed -n '/<pre id="probe">/,/<\/pre>/p' "$work/dom.html" | sed 's/<[^>]*>//g')
echo "$report"
status=0
grep -q '^probe: pass$' <<<"$report" || status=1
python3 "$here/compare_frames.py" "$work/dom.html" "$work/native.txt" || status=1
if [ "$status" -ne 0 ]; then
  echo "--- chromium log (end)"; grep -v dbus "$work/chromium.log" | tail -n 30
  [ -n "${ZW_KEEP_WEB_FRAMES:-}" ] && cp "$work/dom.html" "$work"/native/*.png "$ZW_KEEP_WEB_FRAMES/"
fi
exit "$status"
