#!/usr/bin/env bash
# The hand in a real X window: wheel notches zoom about the pointer, a middle-button drag
# pans, and once the hand rests the picture is exactly the headless renderer's picture of the
# view the window then saves.
set -euo pipefail
E2E_BIN=$(cd "$1" && pwd)
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_launch "$E2E_BIN/velquorantisphaeron"
px=$((PIC_X + 115))
py=$((PIC_Y + 114))
xdotool mousemove --window "$WIN" "$px" "$py" click --repeat 10 4 click 5 mousedown 2
for d in 8 16 24 32; do xdotool mousemove --window "$WIN" $((px + d)) $((py - d / 2)); done
xdotool mouseup 2
sleep 1
e2e_ok "ten notches in, one out, and a pan"

xdotool key ctrl+s
e2e_file_dialog Save "$E2E_WORK/files/hand.mdl" Tab Tab Tab space
e2e_await_file "$E2E_WORK/files/hand.mdl" "Save as parameter file"
read -r x y w _ it cs cp <"$E2E_WORK/files/hand.mdl"
awk -v w="$w" 'BEGIN { exit !(w < 0.5) }' || e2e_fail "the view did not zoom: w $w"
e2e_expect_view "the picture at rest" "$x" "$y" "$w" "$it" "$cs" "${cp%$'\r'}"
xdotool key ctrl+q
e2e_expect_exit "Ctrl+Q ends the program"
