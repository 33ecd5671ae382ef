#!/usr/bin/env bash
# At a device pixel ratio of 2 the picture is rendered at twice the points in each direction:
# the start view and a zoom selection equal the headless renderer's 640 x 480 pictures.
set -euo pipefail
E2E_BIN=$(cd "$1" && pwd)
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

export QT_SCALE_FACTOR=2
E2E_PICTURE=640x480
e2e_launch "$E2E_BIN/velquorantisphaeron"
e2e_ok "the start view at 640 x 480 device pixels"

# Press at point (100, 120) of the picture and drag 30 points right: the centre (-1, 0) and
# w = 60 / 240 * 2 = 0.5, as at a ratio of 1.
px=$((PIC_X + 200))
py=$((PIC_Y + 240))
xdotool mousemove --window "$WIN" "$px" "$py" mousedown 1
for dx in 10 20 40 60; do xdotool mousemove --window "$WIN" $((px + dx)) "$py"; done
xdotool mouseup 1
e2e_click $((PIC_X + 56)) $((PIC_Y + 480 + 36))
e2e_expect_view "Run renders the selection" -1 0 0.5 1024 0x782 0
