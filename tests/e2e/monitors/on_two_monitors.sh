#!/bin/bash
# Runs a test program on a private X server with two monitors placed apart: Xorg's dummy
# driver, whose RandR outputs xrandr places (Xvfb puts every head at 0,0). The second monitor,
# 1280x720, lies left of or above the 1920x1080 primary, so the virtual screen starts at
# negative coordinates. Wine reads the monitors when its server starts, so the program gets a
# Wine prefix of its own, made beside the suite's on first use.
# Usage: on_two_monitors.sh left|above WINE PROGRAM [ARGUMENTS...]; exit code 77 means skipped.
set -u
if ! command -v Xorg >/dev/null || ! command -v xrandr >/dev/null ||
   [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
  echo "SKIPPED: the monitor tests need Xorg's dummy driver and xrandr" \
       "(packages xserver-xorg-core, xserver-xorg-video-dummy, x11-xserver-utils)"
  exit 77
fi
layout=$1
wine=$2
shift 2
case "$layout" in
  left) placement=(--fb 3200x1080 --output DUMMY1 --mode 1280x720 --pos 0x0
                   --output DUMMY0 --mode 1920x1080 --pos 1280x0 --primary) ;;
  above) placement=(--fb 1920x1800 --output DUMMY1 --mode 1280x720 --pos 0x0
                    --output DUMMY0 --mode 1920x1080 --pos 0x720 --primary) ;;
  *) echo "on_two_monitors: unknown layout $layout" >&2; exit 2 ;;
esac
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX="$WINEPREFIX-monitors"

work=$(mktemp -d)
cat >"$work/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 4096 2160
  EndSubSection
EndSection
CONF
# -displayfd: the server takes a free display and names it once it accepts clients.
coproc XORG { exec Xorg -displayfd 1 -config "$work/xorg.conf" -logfile "$work/xorg.log" -noreset -nolisten tcp 2>/dev/null; }
xorg_pid=$XORG_PID
finish() {
  "$wineserver" -k 2>/dev/null
  kill "$xorg_pid" 2>/dev/null
  wait "$xorg_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
if ! read -r -t 30 display <&"${XORG[0]}"; then
  echo "on_two_monitors: Xorg did not start (its log: $work/xorg.log)" >&2
  cat "$work/xorg.log" >&2
  exit 1
fi
export DISPLAY=":$display"
# Seen here: until a client has asked the server for its monitors once, Wine finds only the
# primary (a pause alone does not help).
if ! xrandr --addmode DUMMY1 1280x720 || ! xrandr "${placement[@]}" ||
   [ "$(xrandr --listmonitors | head -n 1)" != "Monitors: 2" ]; then
  echo "on_two_monitors: xrandr could not place the monitors" >&2
  exit 1
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
  # Without a window manager Wine stalls 2 s whenever a managed window is hidden or destroyed.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wineserver" -w
fi
"$wine" "$@"
