#!/bin/bash
# kv.exe as its user has it, beside mpv on the same clips in the same run: for 360p, 1080p and
# 2160p, the whole machine's CPU seconds per 10 s while each plays full screen on a 1920x1080
# screen of its own (X server and, for ours, the Wine server included; run it on a machine
# otherwise idle), kv.exe's own, and each player's resident memory at its most. mpv plays in
# software (--hwdec=no --vo=x11), when installed; the product never needs it.
# Usage: bench/wallpaper_bench.sh [BUILD] [SECONDS]   (default: build, 10; needs wallpaper_bench built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KV_BUILD=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-10}
source "$root/bench/bench-env"
make_clip pattern_640x360_10s.mp4 640x360
make_clip pattern_1920x1080_10s.mp4 1920x1080
make_clip pattern_3840x2160_10s.mp4 3840x2160

screen="-screen 0 1920x1080x24"
row="%-26s %11s %8s %9s %7s %7s\n"
printf "$row" clip kv_machine_s kv_s kv_peak_MB mpv_s mpv_MB
for clip in pattern_640x360_10s.mp4 pattern_1920x1080_10s.mp4 pattern_3840x2160_10s.mp4; do
  winclip="Z:$(echo "$clips/$clip" | tr / '\\')"
  out=$(xvfb-run -a -s "$screen" "$KV_WINE" "$KV_BUILD/bin/wallpaper_bench.exe" "$winclip" "$seconds" 2>/dev/null | tr -d '\r' || true)
  figures=$(echo "$out" | awk '/^kv.exe/ && !/no figure/ {print $5, $2, $(NF-1)}')
  [ -n "$figures" ] || echo "wallpaper_bench: $clip: $(echo "$out" | tail -1)" >&2
  read -r machine own peak <<<"${figures:-- - -}"
  mpv_cpu=- mpv_mb=-
  if command -v mpv >/dev/null; then
    # Its whole run, opening included, against the same stretch of ours: a 10 s clip, once.
    time_file=$(mktemp)
    before=$(awk '/^cpu / {print $2 + $3 + $4 + $7 + $8 + $9}' /proc/stat); start=$(date +%s.%N)
    xvfb-run -a -s "$screen" /usr/bin/time -f "%M" -o "$time_file" \
      mpv --fs --no-audio --hwdec=no --vo=x11 --really-quiet "$clips/$clip" >/dev/null 2>&1 || true
    after=$(awk '/^cpu / {print $2 + $3 + $4 + $7 + $8 + $9}' /proc/stat); end=$(date +%s.%N)
    mpv_cpu=$(awk -v b="$before" -v a="$after" -v s="$start" -v e="$end" -v hz="$(getconf CLK_TCK)" \
      'BEGIN { printf "%.2f", (a - b) / hz * 10 / (e - s) }')
    mpv_mb=$(awk '{printf "%.0f", $1 / 1024}' "$time_file")
    rm -f "$time_file"
  fi
  printf "$row" "$clip" "$machine" "$own" "$peak" "$mpv_cpu" "$mpv_mb"
done
/usr/lib/wine/wineserver -k 2>/dev/null || true
