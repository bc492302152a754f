#!/bin/bash
# kv.exe's CPU per 10 s of 1080p playback with the video on the primary monitor, then filling
# both ("在所有显示器上播放"), and the whole machine's in the same stretches, on the private
# two-monitor X server of the monitor tests (the second monitor, 1280x720, left of the
# 1920x1080 primary). One decoder serves both monitors, so the difference is the drawing.
# Usage: bench/monitors_bench.sh [BUILD] [SECONDS]   (default: build, 10; needs monitors_bench built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KV_BUILD=$(cd "${1:-$root/build}" && pwd)
source "$root/bench/bench-env"
make_clip pattern_1920x1080_10s.mp4 1920x1080
winclip="Z:$(echo "$clips/pattern_1920x1080_10s.mp4" | tr / '\\')"
"$root/tests/e2e/monitors/on_two_monitors.sh" left "$KV_WINE" "$KV_BUILD/bin/monitors_bench.exe" "$winclip" \
  "${2:-10}" 2>/dev/null | tr -d '\r'
