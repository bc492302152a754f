#!/bin/bash
# Runs a test program on a private X screen that can change its size: TigerVNC's Xvnc (Xvfb
# cannot). Wine keeps its desktop on the screen its server started with, so the program gets
# a Wine prefix of its own, made beside the suite's on first use.
# Usage: on_resizable_screen.sh WINE PROGRAM [ARGUMENTS...]; exit code 77 means skipped.
set -u
if ! command -v Xvnc >/dev/null; then
  echo "SKIPPED: the screen-size test needs TigerVNC's Xvnc (package tigervnc-standalone-server)"
  exit 77
fi
wine=$1
shift
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX="$WINEPREFIX-resizable"

# -displayfd: the server takes a free display and names it once it accepts clients.
coproc XVNC { exec Xvnc -displayfd 1 -geometry 1920x1080 -depth 24 -SecurityTypes None -nolisten tcp -localhost 2>/dev/null; }
xvnc_pid=$XVNC_PID
finish() {
  "$wineserver" -k 2>/dev/null
  kill "$xvnc_pid" 2>/dev/null
  wait "$xvnc_pid" 2>/dev/null
}
trap finish EXIT
if ! read -r -t 30 display <&"${XVNC[0]}"; then
  echo "on_resizable_screen: Xvnc did not start" >&2
  exit 1
fi
export DISPLAY=":$display"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
  # Without a window manager Wine stalls 2 s whenever a managed window is hidden or destroyed.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wineserver" -w
fi
"$wine" "$@"
