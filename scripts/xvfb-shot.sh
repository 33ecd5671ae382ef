#!/usr/bin/env bash
# Starts the program on a virtual X server, waits for its first picture, saves a screenshot
# of the window: scripts/xvfb-shot.sh PROGRAM SCREENSHOT.png
set -euo pipefail
program=$1
shot=$2
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -f "$fdfile"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
[ -n "${XDG_RUNTIME_DIR:-}" ] || { export XDG_RUNTIME_DIR=$(mktemp -d); }
export DISPLAY=":$(head -n1 "$fdfile")"
"$program" &
app=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Velquorantisphaeron$' | head -n1)
# The window appears once the first picture is rendered; wait until it has been drawn.
for _ in $(seq 50); do
  sleep 0.2
  import -window "$win" "$shot" 2>/dev/null || continue
  colours=$(convert "$shot" -format '%k' info: 2>/dev/null || echo 0)
  [ "$colours" -gt 16 ] && exit 0
done
echo "no picture appeared in the window" >&2
exit 1
