#!/bin/bash
# Playback cost of APlayer.dll against the floors measured in the same run: the platform's
# own (the same clip through the same Source Reader, every picture thrown away: CPU, and the
# memory reading adds to its process), ffmpeg decoding the same clip to BGRA on one thread,
# ffplay's when it exists; our CPU while seen and while covered, and the memory playing adds
# to a process that already shows the control. added_s and added_MB are ours on top of the
# floor; both programs read memory alike, once a second in the clip's first pass. nv12_s: the
# platform's floor asking NV12 whatever the decoder gives (reader_s asks for the layout
# playback negotiates). ffmpeg_s, nv12_s, reader_s and aplayer_s are the process's own CPU per
# 10 s. ffplay_s, mpv_s and machine_s are the whole machine's CPU per 10 s while ffplay plays,
# while mpv plays full screen in software (when installed; never needed by the product), and
# while ours plays seen (their X server, and for ours the Wine server, included; run them on a
# machine otherwise idle). peak_MB and mpv_MB: the benchmark process's and mpv's peak resident
# memory. resume_ms: how soon pictures flow again after a cover of the benchmark's own process
# and of another process goes, on average/at most. card_s and card_MB: aplayer_s and peak_MB
# with every file forced onto the graphics card's road (the test seam): under Wine, which has
# no video decoding device, that is the platform's software decoder copying each picture into
# a texture and our reading it back, so it shows the road's own overhead, not a card's saving.
# Then the conversion's cost per picture.
# Usage: bench/playback_bench.sh [BUILD]   (default: build; needs playback_bench built there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export KV_BUILD=$(cd "${1:-$root/build}" && pwd)
source "$root/bench/bench-env"
make_clip pattern_640x360_10s.mp4 640x360
make_clip pattern_1920x1080_10s.mp4 1920x1080
make_clip pattern_3840x2160_10s.mp4 3840x2160

cpu_of() {  # command...: user+system CPU seconds
  /usr/bin/time -f "%U %S" -o /tmp/playback_bench.$$ "$@" >/dev/null 2>&1 || true
  awk '{printf "%.2f", $1 + $2}' /tmp/playback_bench.$$
  rm -f /tmp/playback_bench.$$
}
# Whole-machine CPU seconds per 10 s of wall time while the command runs.
machine_cpu_of() {  # command...
  local before after start end
  before=$(awk '/^cpu / {print $2 + $3 + $4 + $7 + $8 + $9}' /proc/stat); start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || true
  after=$(awk '/^cpu / {print $2 + $3 + $4 + $7 + $8 + $9}' /proc/stat); end=$(date +%s.%N)
  awk -v b="$before" -v a="$after" -v s="$start" -v e="$end" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.2f", (a - b) / hz * 10 / (e - s) }'
}

# On a screen of its own, under time: the command's output in $out_file, and in $time_file its
# exit status and peak resident memory (its own process, not the X server's), which timed reads.
out_file=/tmp/playback_bench_out.$$ time_file=/tmp/playback_bench_time.$$
trap 'rm -f "$out_file" "$time_file"' EXIT
on_screen() {
  xvfb-run -a -s "-screen 0 1920x1080x24" /usr/bin/time -f "%x %M" -o "$time_file" "$@" \
    >"$out_file" 2>/dev/null || true
}
timed() {  # status|peak_MB
  awk -v what="$1" 'END { if (what == "status") print $1; else printf "%.0f", $2 / 1024 }' "$time_file"
}

row="%-26s %8s %8s %7s %9s %9s %9s %9s %9s %8s %10s %9s %7s %6s %7s %7s %8s %12s %16s\n"
difference() { awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { if (a != "" && b != "") printf f, a - b; else print "-" }'; }
printf "$row" clip ffmpeg_s ffplay_s nv12_s reader_s reader_MB aplayer_s machine_s unseen_s \
  added_s aplayer_MB added_MB peak_MB mpv_s mpv_MB card_s card_MB cold/warm_ms "resume_ms (own, other)"
for clip in pattern_640x360_10s.mp4 pattern_1920x1080_10s.mp4 pattern_3840x2160_10s.mp4; do
  floor=$(cpu_of ffmpeg -threads 1 -i "$clips/$clip" -an -pix_fmt bgra -f null -)
  ffplay_cpu=-
  if command -v ffplay >/dev/null; then
    ffplay_cpu=$(machine_cpu_of xvfb-run -a -s "-screen 0 1920x1080x24" ffplay -v error -an -fs -autoexit "$clips/$clip")
  fi
  winclip="Z:$(echo "$clips/$clip" | tr / '\\')"
  nv12=$("$KV_WINE" "$KV_BUILD/bin/decoder_floor_bench.exe" --nv12 "$winclip" 10 2>/dev/null | tr -d '\r')
  nv12_cpu=$(echo "$nv12" | awk '/cpu per 10 s/ {print $5}')
  reader=$("$KV_WINE" "$KV_BUILD/bin/decoder_floor_bench.exe" "$winclip" 10 2>/dev/null | tr -d '\r')
  reader_cpu=$(echo "$reader" | awk '/cpu per 10 s/ {print $5}')
  reader_mb=$(echo "$reader" | awk '/idle working/ {idle = $3} /reading working/ {printf "%.1f", $3 - idle}')
  # A figure it could not measure shows as "-" in the row, and is said here.
  on_screen "$KV_WINE" "$KV_BUILD/bin/playback_bench.exe" "$winclip" 10
  [ "$(timed status)" = 0 ] || echo "playback_bench: $clip: a figure missing or flagged (exit $(timed status))" >&2
  out=$(tr -d '\r' <"$out_file")
  peak_mb=$(timed peak_MB)
  card_cpu=- card_mb=-
  on_screen env KV_CARD_DECODING=force "$KV_WINE" "$KV_BUILD/bin/playback_bench.exe" "$winclip" 10
  if [ "$(timed status)" = 0 ]; then
    card_cpu=$(tr -d '\r' <"$out_file" | awk '/cpu per 10 s/ {print $5}')
    card_mb=$(timed peak_MB)
  fi
  mpv_cpu=- mpv_mb=-
  if command -v mpv >/dev/null; then
    mpv_cpu=$(machine_cpu_of on_screen mpv --fs --no-audio --hwdec=no --vo=x11 --really-quiet "$clips/$clip")
    mpv_mb=$(timed peak_MB)
  fi
  cpu=$(echo "$out" | awk '/cpu per 10 s/ {print $5}')
  machine=$(echo "$out" | awk '/machine per 10 s/ {print $5}')
  unseen=$(echo "$out" | awk '/unseen per 10 s/ {print $5}')
  first=$(echo "$out" | awk '/first picture/ {print $3 "/" $6}')
  resume=$(echo "$out" | awk '/^resume  / {own = $2 "/" $6} /^resume other/ {print own " " ($3 == "failed:" ? "failed" : $3 "/" $7)}')
  playing_mb=$(echo "$out" | awk '/hosted working/ {hosted = $3} /playing working/ {printf "%.1f", $3 - hosted}')
  added=$(difference "$cpu" "$reader_cpu" "%.2f")
  added_mb=$(difference "$playing_mb" "$reader_mb" "%.1f")
  printf "$row" "$clip" "$floor" "$ffplay_cpu" "$nv12_cpu" "$reader_cpu" "$reader_mb" \
    "$cpu" "${machine:--}" "$unseen" "$added" "$playing_mb" "$added_mb" "$peak_mb" "$mpv_cpu" "$mpv_mb" "$card_cpu" "$card_mb" "$first" "$resume"
done
"$KV_WINE" "$KV_BUILD/bin/conversion_bench.exe" 60 2>/dev/null | tr -d '\r'
/usr/lib/wine/wineserver -k 2>/dev/null || true
