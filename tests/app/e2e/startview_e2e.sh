#!/usr/bin/env bash
# The real program in a real X window shows the start view exactly as the headless renderer
# draws it: every pixel of the picture area is compared.
set -euo pipefail
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
"$root/scripts/xvfb-shot.sh" "$bin/velquorantisphaeron" "$work/window.png"
"$bin/velq-render" --view 0 0 2 1024 0x782 0 --size 320x240 --out "$work/expected.png" >/dev/null
# The picture sits somewhere below the menu bar; find it and count the differing pixels.
result=$(compare -metric AE -subimage-search "$work/window.png" "$work/expected.png" null: 2>&1 || true)
echo "picture search: $result"
differing=${result%% *}
[ "$differing" = "0" ] || { echo "the window's picture differs from the start view" >&2; exit 1; }
