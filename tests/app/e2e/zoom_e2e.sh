#!/usr/bin/env bash
# Zooming in a real X window: a drag selection shows the region it leads to and Run renders
# it; the Z key zooms in; Back from the contextual menu and the F key step through the
# history; Ctrl+Q ends the program. Every picture is compared with the headless renderer's.
set -euo pipefail
E2E_BIN=$(cd "$1" && pwd)
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_launch "$E2E_BIN/velquorantisphaeron"
e2e_ok "the start view at $PIC_X,$PIC_Y in a ${WIN_W}x$WIN_H window"
xprop -id "$WIN" WM_NORMAL_HINTS | grep -q "program specified resize increment: 16 by 16" ||
    e2e_fail "the window manager is not told the 16-pixel steps"
xprop -id "$WIN" -f _NET_WM_ICON 32c '=$0\n' _NET_WM_ICON | grep -q '=[1-9]' ||
    e2e_fail "the window has no icon for task bars"
e2e_ok "the size steps and the icon reach the window manager"

# Alt and a click start a drag that ends on the picture itself: that is no drop, so no file
# is written for it and the view stays.
xdotool keydown alt
e2e_click $((PIC_X + 160)) $((PIC_Y + 120))
xdotool keyup alt
sleep 1
[ -z "$(find "$TMPDIR" -name '*.png')" ] || e2e_fail "the window took its own drag as a drop"
e2e_ok "an Alt-click changes nothing"

# Press at picture point (100, 120) and drag 30 pixels right: in a 320 x 240 picture of the
# start view that is the centre (-1, 0) and w = 30 / 120 * 2 = 0.5, all exact in binary.
px=$((PIC_X + 100))
py=$((PIC_Y + 120))
xdotool mousemove --window "$WIN" "$px" "$py" mousedown 1
for dx in 5 10 20 30; do xdotool mousemove --window "$WIN" $((px + dx)) "$py"; done
# The region the new view will fill (80 x 60 around the press point) stays bright; the rest
# of the picture is dimmed.
selection_shown() {
    local shown=$E2E_WORK/selecting.png
    e2e_picture "$shown" &&
        [ "$(e2e_differing "$shown" "$E2E_WORK/start.png" -extract 30x20+62+92)" = 0 ] &&
        [ "$(e2e_differing "$shown" "$E2E_WORK/start.png" -extract 40x40+0+0)" -gt 1500 ]
}
e2e_poll 20 selection_shown || e2e_fail "the selection is not shown"
e2e_ok "the selection"
xdotool mouseup 1

# Run sits at the left of the row below the picture and its progress row.
e2e_click $((PIC_X + 28)) $((PIC_Y + 240 + 18))
e2e_expect_view "Run renders the selection" -1 0 0.5 1024 0x782 0

e2e_click "$px" "$py" # a click without a drag gives the picture the keyboard
xdotool key z
e2e_expect_view "Z zooms in by 2" -1 0 0.25 1024 0x782 0

# The contextual menu: Initial Coordinates, Redraw, then Back.
e2e_click "$px" "$py" 3
e2e_await_windows 2 "the contextual menu"
xdotool key --delay 80 Down Down Down Return
e2e_expect_view "Back from the contextual menu" -1 0 0.5 1024 0x782 0

xdotool key f
e2e_expect_view "F goes forward again" -1 0 0.25 1024 0x782 0

xdotool key ctrl+q
e2e_expect_exit "Ctrl+Q ends the program"
