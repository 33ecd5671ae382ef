#!/usr/bin/env bash
# Saving and opening through the file dialogs in a real X window: a PNG of the window's
# picture and a parameter file are written with the view, and opening each one brings that
# view back. The files are checked byte by byte and the pictures against the window's.
set -euo pipefail
E2E_BIN=$(cd "$1" && pwd)
# shellcheck source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

e2e_launch "$E2E_BIN/velquorantisphaeron"
files=$E2E_WORK/files
line=$'0.00000000000000000000 0.00000000000000000000 1.00000000000000000000 1.33333333333333325932 1024 0x00000782 0\r'

e2e_click $((PIC_X + 160)) $((PIC_Y + 120))
xdotool key z
e2e_expect_view "Z zooms in" 0 0 1 1024 0x782 0
cp "$E2E_WORK/expected.png" "$E2E_WORK/zoomed.png"

# Save with the options as they start: a PNG of the picture as shown.
xdotool key ctrl+s
e2e_file_dialog Save "$files/zoomed.png"
e2e_await_file "$files/zoomed.png" "Save as PNG"
[ "$(e2e_differing "$files/zoomed.png" "$E2E_WORK/zoomed.png")" = 0 ] ||
    e2e_fail "the saved PNG is not the picture: $(identify "$files/zoomed.png")"
chunk=$(head -c 300 "$files/zoomed.png" | tail -c +38 | tr '\0' '\n' | sed -n 2p)
[ "$chunk" = "$line" ] || e2e_fail "the saved PNG's view: $chunk"
e2e_ok "Save writes the picture as PNG with its view"

# Save again as a parameter file: the first of the file-type choices, three Tabs from the
# empty file-name field (Save is disabled then and takes no Tab), chosen with Space.
xdotool key ctrl+s
e2e_file_dialog Save "$files/zoomed.mdl" Tab Tab Tab space
e2e_await_file "$files/zoomed.mdl" "Save as parameter file"
[ "$(cat "$files/zoomed.mdl")" = "$line" ] ||
    e2e_fail "the parameter file: $(cat -A "$files/zoomed.mdl")"
e2e_ok "Save writes the parameter file"

for file in zoomed.png zoomed.mdl; do
    xdotool key i
    e2e_expect_picture "$E2E_WORK/start.png" "I returns to the start view"
    xdotool key ctrl+o
    e2e_file_dialog Open "$files/$file"
    e2e_expect_picture "$E2E_WORK/zoomed.png" "Open $file brings its view back"
done

xdotool key ctrl+q
e2e_expect_exit "Ctrl+Q ends the program"
