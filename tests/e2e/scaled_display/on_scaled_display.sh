#!/bin/bash
# Runs a test program under Wine with the display scaled to DPI dots per inch: in a Wine
# prefix of its own, made beside the suite's on first use, whose LogPixels is that DPI (Wine
# reads it when its server starts, so the prefix has a server of its own too). The program
# finds the DPI in KV_TEST_DPI.
# Usage: on_scaled_display.sh DPI WINE PROGRAM [ARGUMENTS...]
set -u
dpi=$1
wine=$2
shift 2
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX="$WINEPREFIX-dpi$dpi" KV_TEST_DPI=$dpi
trap '"$wineserver" -k 2>/dev/null' EXIT

if ! grep -qs '"LogPixels"' "$WINEPREFIX/user.reg"; then
  "$wine" wineboot -i >/dev/null 2>&1
  # Without a window manager Wine stalls 2 s whenever a managed window is hidden or destroyed.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$wineserver" -w
fi
"$wine" "$@"
