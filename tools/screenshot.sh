#!/usr/bin/env bash
# Starts Pensilo under a virtual X server, optionally drives it with an xdotool
# script, and saves a screenshot of the screen: tools/screenshot.sh out.png [script]
# The script runs with DISPLAY set and WINDOW holding Pensilo's window id.
set -euo pipefail
out=${1:?usage: screenshot.sh out.png [xdotool-script]}
script=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
QT_QPA_PLATFORM=xcb "$root/build/src/pensilo" &
app=$!
for _ in $(seq 50); do
  WINDOW=$(xdotool search --onlyvisible --name "Pensilo" 2>/dev/null | head -1) && [ -n "$WINDOW" ] && break
  sleep 0.2
done
export WINDOW
sleep 1
[ -n "$script" ] && bash "$script"
sleep 0.5
import -window "$WINDOW" "$out"
