#!/usr/bin/env bash
# Runs a command on the X server of DISPLAY with a window manager drawing the
# title bars in the classic Windows theme, as on a person's desktop:
#
#   with_window_manager.sh COMMAND [ARGUMENT...]
#
# The window manager ends with the command; the status is the command's.
set -u
for tool in icewm xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (Debian: icewm x11-utils)"; exit 1; }
done
home=$(mktemp -d)
mkdir -p "$home/icewm"
printf 'ShowTaskBar=0\n' >"$home/icewm/preferences"
printf 'Theme="win95/default.theme"\n' >"$home/icewm/theme"
HOME=$home ICEWM_PRIVCFG=$home/icewm icewm >/dev/null 2>&1 &
wm=$!
# A window manager announces itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
rm -rf "$home"
exit "$status"
