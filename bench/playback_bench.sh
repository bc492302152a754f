#!/bin/bash
# Playback cost of APlayer.dll against the floor measured in the same run: ffmpeg decoding
# the same clip to BGRA on one thread; ffplay's figure beside them when it exists.
# Usage: bench/playback_bench.sh [BUILD]   (default: build; needs playback_bench built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KV_BUILD=$(cd "${1:-$root/build}" && pwd)
source "$root/scripts/wine-env"
clips=$KV_BUILD/clips/bench
mkdir -p "$clips"

make_clip() {  # name size
  [ -f "$clips/$1" ] || ffmpeg -v error -y -f lavfi -i "testsrc2=size=$2:rate=30:duration=10" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -an "$clips/$1"
}
make_clip pattern_640x360_10s.mp4 640x360
make_clip pattern_1920x1080_10s.mp4 1920x1080

cpu_of() {  # command...: user+system CPU seconds
  /usr/bin/time -f "%U %S" -o /tmp/playback_bench.$$ "$@" >/dev/null 2>&1 || true
  awk '{printf "%.2f", $1 + $2}' /tmp/playback_bench.$$
  rm -f /tmp/playback_bench.$$
}

printf "%-26s %10s %10s %12s %10s %12s %8s\n" clip floor_s ffplay_s aplayer_s ratio cold/warm_ms peak_MB
for clip in pattern_640x360_10s.mp4 pattern_1920x1080_10s.mp4; do
  floor=$(cpu_of ffmpeg -threads 1 -i "$clips/$clip" -an -pix_fmt bgra -f null -)
  ffplay_cpu=-
  if command -v ffplay >/dev/null; then
    ffplay_cpu=$(cpu_of xvfb-run -a -s "-screen 0 1920x1080x24" ffplay -v error -an -fs -autoexit "$clips/$clip")
  fi
  out=$(xvfb-run -a -s "-screen 0 1920x1080x24" "$KV_WINE" "$KV_BUILD/bin/playback_bench.exe" \
        "Z:$(echo "$clips/$clip" | tr / '\\')" 10 2>/dev/null | tr -d '\r')
  cpu=$(echo "$out" | awk '/cpu per 10 s/ {print $5}')
  first=$(echo "$out" | awk '/first picture/ {print $3 "/" $6}')
  peak=$(echo "$out" | awk '/peak working/ {print $3}')
  ratio=$(awk -v a="$cpu" -v f="$floor" 'BEGIN { if (f > 0) printf "%.2f", a / f; else print "-" }')
  printf "%-26s %10s %10s %12s %10s %12s %8s\n" "$clip" "$floor" "$ffplay_cpu" "$cpu" "$ratio" "$first" "$peak"
done
/usr/lib/wine/wineserver -k 2>/dev/null || true
