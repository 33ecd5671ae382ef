#!/usr/bin/env bash
# Takes the screenshots of the README and the manual from the real window on a virtual X
# server: scripts/screenshots.sh [BIN_DIR] (default: build/bin) writes docs/images/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
E2E_BIN=$(cd "${1:-"$root/build/bin"}" && pwd)
images=$root/docs/images
# shellcheck source=../tests/app/e2e/e2e_lib.sh
source "$root/tests/app/e2e/e2e_lib.sh"
mkdir -p "$images"

# window_and_popups OUT: the window with the menus open over it; the rest transparent.
window_and_popups() {
    local rects=() right=0 bottom=0 id
    for id in $(xdotool search --onlyvisible --pid "$APP_PID"); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        rects+=(-draw "rectangle $X,$Y $((X + WIDTH - 1)),$((Y + HEIGHT - 1))")
        right=$((X + WIDTH > right ? X + WIDTH : right))
        bottom=$((Y + HEIGHT > bottom ? Y + HEIGHT : bottom))
    done
    import -window root "$E2E_WORK/root.png"
    convert "$E2E_WORK/root.png" -crop "${right}x$bottom+0+0" +repage \
        \( +clone -fill black -colorize 100 -fill white "${rects[@]}" \) \
        -alpha off -compose CopyOpacity -composite "$1"
}

e2e_xvfb
e2e_launch "$E2E_BIN/velquorantisphaeron"
e2e_shot "$images/window.png"

# The Control menu, opened with its mnemonic.
xdotool key alt+c
e2e_await_windows 2 "the Control menu"
sleep 1 # let the menu finish drawing
window_and_popups "$images/menu.png"
xdotool key Escape
e2e_await_only_window "the Control menu"

# A selection around the seahorse valley, held while the picture is taken.
px=$((PIC_X + 115))
py=$((PIC_Y + 114))
xdotool mousemove --window "$WIN" "$px" "$py" mousedown 1
for dx in 5 10 15 20 24; do xdotool mousemove --window "$WIN" $((px + dx)) $((py + dx / 2)); done
sleep 1
e2e_shot "$images/selection.png"
xdotool mouseup 1

# Gallery place 116, "Seahorse valley, south", from the Gallery menu.
xdotool key alt+g
e2e_await_windows 2 "the Gallery menu"
xdotool key --delay 60 Down Down Down Down Down Down Down Down Down Down Down Down Down Down \
    Down Return
"$E2E_BIN/velq-render" --gallery 116 --size "$E2E_PICTURE" --out "$E2E_WORK/116.png" >/dev/null
e2e_expect_picture "$E2E_WORK/116.png" "gallery place 116"
e2e_shot "$images/gallery.png"

xdotool key ctrl+q
e2e_expect_exit "quit"
# Smaller files without a visible change, and no time stamps.
for shot in window menu selection gallery; do
    convert "$images/$shot.png" -strip -define png:compression-level=9 "$images/$shot.png"
done
echo "screenshots in $images: window.png menu.png selection.png gallery.png"
