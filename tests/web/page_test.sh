#!/usr/bin/env bash
# The web page as visitors see it: builds the page (scripts/web/build-page), serves
# it from a sub-folder on 127.0.0.1 and opens it in headless chromium with probe.js
# added: on the desktop (--dump-dom), and by touch alone on a phone upright and on
# its side (browser.py, over the DevTools protocol). Each run's frames are compared
# with the native capture's. Then the page without WebGL and a site without
# stuff.dat, and the built page's head. Usage: page_test.sh NATIVE_BUILD_DIR.
# Exit 77 (skipped) when emscripten or chromium is not installed. Leaves no server
# or browser running.
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1  # the source tree gets no __pycache__
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

# The page in a sub-folder, as a party's site would host it; a second copy
# without stuff.dat.
site="$work/site/party"
mkdir -p "$site" "$work/site/no-archive"
cp "$page"/index.html "$page"/zwirbelalp.js "$page"/zwirbelalp.wasm "$page"/stuff.dat "$page"/preview.png \
  "$here/probe.js" "$site/"
sed 's|</body>|<script src="probe.js"></script>\n</body>|' "$page/index.html" > "$site/probe.html"
cp "$page"/index.html "$page"/zwirbelalp.js "$page"/zwirbelalp.wasm "$page"/preview.png "$work/site/no-archive/"

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
url="http://127.0.0.1:$port"

chromium=(chromium --headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader
  --disable-background-networking --disable-component-update --disable-sync --no-first-run
  --disable-quic --disable-extensions --mute-audio --autoplay-policy=no-user-gesture-required)

# Its own process group, so the cleanup ends the browser with all its helpers.
setsid "${chromium[@]}" --window-size=1000,600 --user-data-dir="$work/profile" \
  --virtual-time-budget=120000 --dump-dom "$url/party/probe.html" \
  >"$work/desktop.html" 2>"$work/chromium.log" &
browser=$!
if ! timeout 600 tail --pid="$browser" -f /dev/null; then
  echo "page_test: chromium did not finish in 600 s"
fi
wait "$browser" || true
browser=""

status=0
for orientation in portrait landscape; do
  echo "--- phone, $orientation"
  python3 "$here/browser.py" phone "$url/party/probe.html" "$orientation" "$work/$orientation.html" \
    -- "${chromium[@]}" || status=1
done

# Each run's report, and its frames against the native program's on its virtual
# clock, with the input the probe gave the page.
for run in desktop portrait landscape; do
  echo "--- $run"
  report=$(sed -n '/<pre id="probe">/,/<\/pre>/p' "$work/$run.html" | sed 's/<[^>]*>//g')
  echo "$report"
  grep -q '^probe: pass$' <<<"$report" || status=1
  sed -n 's/^input: //p' <<<"$report" >"$work/$run-input.txt"
  times=$(sed -n 's/^compare at: //p' <<<"$report")
  rm -rf "$work/run" && mkdir "$work/run" && cp "$native/stuff.dat" "$work/run/"
  "$native/zwirbelalp-capture" --quiet --dir "$work/run" \
    --seconds "$(awk -v t="${times##*,}" 'BEGIN { print t + 1 }')" --input "$work/$run-input.txt" \
    --png "$work/$run-native" --at "${times:-0}" --report "$work/$run-native.txt" >/dev/null
  python3 "$here/compare_frames.py" "$work/$run.html" "$work/$run-native.txt" || status=1
done

echo "--- without WebGL"
python3 "$here/browser.py" no-webgl "$url/party/index.html" -- "${chromium[@]}" || status=1
echo "--- without stuff.dat"
python3 "$here/browser.py" no-archive "$url/no-archive/index.html" -- "${chromium[@]}" || status=1
echo "--- the page's head"
python3 "$here/check_head.py" "$page/index.html" "$root/web/make_index.py" "$native/web/web/linked/zwirbelalp.html" \
  "$root/assets" "$page/preview.png" || status=1

if [ "$status" -ne 0 ]; then
  echo "--- chromium log (end)"; grep -v dbus "$work/chromium.log" | tail -n 30
  [ -n "${ZW_KEEP_WEB_FRAMES:-}" ] && cp -r "$work"/*.html "$work"/*-native "$ZW_KEEP_WEB_FRAMES/"
fi
exit "$status"
