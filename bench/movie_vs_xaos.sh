#!/usr/bin/env bash
# Times a zoom movie made by velq-render against the same zoom made by XaoS, in one go.
#
#   bench/movie_vs_xaos.sh [BUILD_DIR] [FRAMES]    (default: build, 600)
#
# The movie: FRAMES frames of 640 x 480 from the start view (x 0, y 0, w 2) into the seahorse
# valley (x -0.7436438870371587, y 0.1318259042053120) down to w = 1e-12, limit 1024, colours
# 0x782, rotation 0: two keys, so a zoom at constant speed. velq-render writes every frame as
# a PNG file (exact frames: each is the full render of its view). XaoS (Debian's xaos, run as
# it comes, offscreen) is given the very same views, one (view X Y WIDTH HEIGHT) per frame
# with the picture's width and height in the plane, and renders them into PNG files with its
# usual shortcuts (it reuses the pixels of the last frame where it can), and once more with
# -alwaysrecalc, every pixel computed. velq-render also makes the movie as one H.264 video
# (--video, ffmpeg encoding beside the render, no PNG files). Its frame timing
# rounds oddly, so each view lasts two seconds at one frame per second: every second frame it
# writes is a link to the one before, which costs it nothing. The load average is shown before
# and after: on a shared machine the wall clock is only worth as much as the quiet it had.
set -euo pipefail
build=${1:-build}
frames=${2:-600}
render="$build/bin/velq-render"
[[ -x $render ]] || { echo "movie_vs_xaos.sh: $render not found; build velq-render first" >&2; exit 1; }
command -v xaos >/dev/null || { echo "movie_vs_xaos.sh: xaos not found (apt-get install xaos)" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
now() { date +%s.%N; }

printf '%s\n' "0 0 2 1.3333333333333333 1024 0x782 0" \
    "-0.7436438870371587 0.1318259042053120 1e-12 1.3333333333333333 1024 0x782 0" >"$tmp/keys.mdl"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

t0=$(now)
"$render" --movie "$frames" --mdl "$tmp/keys.mdl" --size 640x480 --out "$tmp/velq" --quiet >"$tmp/velq.out"
t1=$(now)
ours=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')
[[ $(ls "$tmp/velq" | wc -l) == "$frames" ]] || { echo "movie_vs_xaos.sh: velq-render wrote too few frames" >&2; exit 1; }

# The same views for XaoS: half the shorter side w gives a plane of 2w * 4/3 by 2w.
{
    echo "(initstate)"
    echo "(formula 'mandel)"
    echo "(maxiter 1024)"
    awk '/^view / { printf "(view %.17g %.17g %.17g %.17g)\n(usleep 2000000)\n", $2, $3, $4 * 8 / 3, $4 * 2 }' \
        "$tmp/velq.out"
} >"$tmp/movie.xaf"
# xaos_run NAME [OPTION...]: XaoS on the views into $tmp/NAME, "SECONDS RENDERED LINKED".
xaos_run() {
    local name=$1 t0 t1
    shift
    mkdir "$tmp/$name"
    t0=$(now)
    QT_QPA_PLATFORM=offscreen xaos -render "$tmp/movie.xaf" -size 640x480 -renderframerate 1 \
        -basename "$tmp/$name/f" "$@" >"$tmp/$name.log" 2>&1
    t1=$(now)
    echo "$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')" \
        "$(grep -c '^Rendering frame' "$tmp/$name.log" || true)" "$(grep -c '^Linking frame' "$tmp/$name.log" || true)"
}
read -r theirs rendered linked < <(xaos_run xaos)
# The same movie as one H.264 video: no PNG files, ffmpeg encoding beside the render.
t0=$(now)
"$render" --movie "$frames" --mdl "$tmp/keys.mdl" --size 640x480 --video "$tmp/zoom.mp4" --quiet >/dev/null
t1=$(now)
video=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }')
# XaoS computing every pixel of every frame, as ours are.
read -r exact exactRendered _ < <(xaos_run xaos-exact -alwaysrecalc)
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"

per() { awk -v s="$1" -v n="$2" 'BEGIN { printf "%.1f", 1000 * s / n }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "velq-render, PNG frames: $frames frames in $ours s, $(per "$ours" "$frames") ms a frame (exact)"
echo "velq-render, H.264 video: $frames frames in $video s, $(per "$video" "$frames") ms a frame (exact)"
echo "xaos: $rendered frames rendered and $linked linked in $theirs s, $(per "$theirs" "$rendered") ms a rendered frame"
echo "xaos -alwaysrecalc: $exactRendered frames rendered in $exact s, $(per "$exact" "$exactRendered") ms a rendered frame"
echo "ratio: XaoS takes $(ratio "$theirs" "$ours") times as long as our PNG frames, $(ratio "$theirs" "$video") times as long as our video"
echo "ratio: XaoS -alwaysrecalc takes $(ratio "$exact" "$ours") times as long as our PNG frames, $(ratio "$exact" "$video") times as long as our video"
# Side by side, a few frames of each, for the eye: VELQ_SHEET=FILE.png keeps them.
if [[ -n ${VELQ_SHEET:-} ]] && command -v montage >/dev/null; then
    picks=()
    for k in 1 $((frames / 4)) $((frames / 2)) $((3 * frames / 4)) "$frames"; do
        picks+=("$tmp/velq/$(printf 'frame-%06d.png' "$k")" "$(printf '%s/xaos/f%06d.png' "$tmp" $((2 * k - 1)))")
    done
    montage "${picks[@]}" -tile 2x -geometry 320x240+2+2 "$VELQ_SHEET"
fi
