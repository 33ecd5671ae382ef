#!/usr/bin/env bash
# The gallery and the colour controls in a real X window: a place chosen from the Gallery
# menu, opened with its mnemonic, then the pattern, red and overlay buttons recolour it; Quit
# from the File menu ends the program. Every picture is compared with the headless renderer's.
set -euo pipefail
E2E_BIN=$(cd "$1" && pwd)
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_launch "$E2E_BIN/velquorantisphaeron"

# Alt+G opens the Gallery menu at its first place; the eleventh is "Seahorse valley, deep"
# (tag 111).
xdotool key alt+g
e2e_await_windows 2 "the Gallery menu"
xdotool key --delay 60 Down Down Down Down Down Down Down Down Down Down Return
"$E2E_BIN/velq-render" --gallery 111 --size "$E2E_PICTURE" --out "$E2E_WORK/111.png" >/dev/null
e2e_expect_picture "$E2E_WORK/111.png" "the gallery place 111"
view=(-0.756423894629558 0.0641794108447811 3.3e-09 8192)

# The colour buttons sit in the bottom row: pattern and overlay at its left (30 pixels wide,
# 2 apart), the R, G, B toggles at its right (15 pixels wide, 2 apart).
row=$((WIN_H - 12))
e2e_click $((PIC_X + 15)) "$row"
e2e_expect_view "the pattern button: a2 to a3" "${view[@]}" 0x722 583
e2e_click $((WIN_W - 4 - 2 * 17 - 8)) $((WIN_H - 14))
e2e_expect_view "the red toggle inverts red" "${view[@]}" 0x622 583
e2e_click $((PIC_X + 47)) "$row"
e2e_expect_view "the overlay button: b2 to b3" "${view[@]}" 0x621 583

# Quit is the last item of the File menu, the first in the menu bar.
e2e_click $((PIC_X + 10)) $(((PIC_Y - 4) / 2))
e2e_await_windows 2 "the File menu"
xdotool key --delay 80 Up Return
e2e_expect_exit "Quit from the File menu ends the program"
