#!/bin/bash
# Whether anything grows with the loops: kv.exe plays a 1-second 1080p clip looping for
# MINUTES (a seek back to the start every second) and prints its resident memory every 30 s,
# then its CPU and peak as wallpaper_bench does.
# Usage: bench/loop_memory_bench.sh [BUILD] [MINUTES]   (default: build, 10; needs wallpaper_bench built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KV_BUILD=$(cd "${1:-$root/build}" && pwd)
minutes=${2:-10}
source "$root/bench/bench-env"
clip=pattern_1920x1080_1s.mp4
[ -f "$clips/$clip" ] || ffmpeg -v error -y -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=1" \
  -c:v libx264 -preset veryfast -pix_fmt yuv420p -an "$clips/$clip"
winclip="Z:$(echo "$clips/$clip" | tr / '\\')"
xvfb-run -a -s "-screen 0 1920x1080x24" "$KV_WINE" "$KV_BUILD/bin/wallpaper_bench.exe" "$winclip" \
  $((minutes * 60)) 30 2>/dev/null | tr -d '\r'
/usr/lib/wine/wineserver -k 2>/dev/null || true
