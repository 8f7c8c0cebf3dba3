#!/usr/bin/env bash
# Frames per second of the web page on the real clock, part by part (page_fps.py):
#   page_fps.sh NATIVE_BUILD_DIR [--profile FROM TO]
# Builds the page (scripts/web/build-page, into NATIVE_BUILD_DIR/web as the web_page
# test does) and plays it once in headless chromium on SwiftShader. The browser and
# the page's server live in one process group of their own, ended on exit.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
native="$(cd "$1" && pwd)"
shift

for tool in emcc chromium python3; do
  command -v "$tool" >/dev/null || { echo "page_fps: $tool is not installed" >&2; exit 1; }
done
page=$(ZW_WEB_BUILD_DIR="$native/web" "$root/scripts/web/build-page" "$native")

driver=""
cleanup() {
  [ -n "$driver" ] && kill -- "-$driver" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

echo "web page on the real clock, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M')"
setsid python3 -u "$here/page_fps.py" "$page" "$@" &
driver=$!
wait "$driver"
status=$?
driver=""
exit "$status"
