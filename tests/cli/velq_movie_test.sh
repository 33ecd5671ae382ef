#!/usr/bin/env bash
# Movies and posters end to end: frame ranges that share and resume the work, videos through
# ffmpeg and its failures, bands joined by vips equal to one export, the stamp read back, and
# the recipes of docs/distributed.md (GNU parallel on local job slots, the Slurm script with
# its task numbers set by hand) equal to one run.
#   velq_movie_test.sh VELQ_RENDER SOURCE_DIR
# shellcheck source=cli_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/cli_lib.sh"
root=$2
for tool in ffmpeg ffprobe vips parallel convert; do
    command -v "$tool" >/dev/null || fail "$tool is missing: scripts/setup.sh installs it"
done
# Decoded pixels, whatever the PNG files' encodings.
same_rgba() { cmp -s <(convert "$1" rgba:-) <(convert "$2" rgba:-); }

# Three keys: into the seahorse valley, then a pan at the same width.
printf '%s\n' "0 0 2 1.33 1024 0x782 0" "-0.7436438870371587 0.131825904205312 1e-5 1.33 1024 0x741 500" \
    "-0.74364 0.13182 1e-5 1.33 2048 0x741 0" >keys.mdl
movie=(--movie 20 --mdl keys.mdl --size 64x48 --quiet)

# Frames 1-10 and then 5-20 give the files of one run 1-20; the second run keeps the frames
# it finds whole with their view, and renders a cut one and another frame's file again.
run 0 "${movie[@]}" --out one
run 0 "${movie[@]}" --out two --frame-range 1-10
head -c 300 one/frame-000007.png >two/frame-000007.png
cp one/frame-000003.png two/frame-000008.png
run 0 "${movie[@]}" --out two --frame-range=5-20
grep -qx 'frames 5 to 20 rendered 12 kept 4 seconds [0-9.]*' out || fail "resumed: $(cat out)"
diff -r one two >/dev/null || fail "frames 1-10 and 5-20 differ from 1-20"
[ "$(ls one | wc -l)" = 20 ] && [ -z "$(find . -name '.velq-*')" ] || fail "the frame files: $(ls -a one)"

# A full disk (files of at most 1 kB): exit 1 naming the frame, no temporary file left.
status=0
(trap '' XFSZ && ulimit -f 1 && exec "$render" "${movie[@]}" --out full) >/dev/null 2>err || status=$?
[ "$status" = 1 ] && grep -q "cannot write 'full/frame-0000" err && [ -z "$(find full -name '.velq-*')" ] ||
    fail "frames on a full disk: $(cat err)"

# A video: every frame, at its size; without ffmpeg, or when it fails, exit 1 and say why.
for video in m.mp4 m.webm; do
    run 0 "${movie[@]}" --video "$video" --fps 24
    [ "$(ffprobe -v error -count_frames -select_streams v:0 -show_entries \
        stream=nb_read_frames,width,height -of csv=p=0 "$video")" = "64,48,20" ] || fail "$video"
done
mkdir bin
printf '#!/bin/sh\necho "Unknown encoder" >&2\nexit 3\n' >bin/ffmpeg
chmod +x bin/ffmpeg
for entry in "/nonexistent|install Debian's package ffmpeg" "$PWD/bin|ffmpeg failed (exit status 3): Unknown encoder"; do
    status=0
    PATH=${entry%%|*} "$render" "${movie[@]}" --video no.mp4 >/dev/null 2>err || status=$?
    [ "$status" = 1 ] && grep -qF "${entry#*|}" err && [ ! -e no.mp4 ] && [ -z "$(find . -name '.velq-*')" ] ||
        fail "ffmpeg from ${entry%%|*}: $(cat err)"
done
mkfifo fifo.mp4
run 1 "${movie[@]}" --video fifo.mp4
grep -q "'fifo.mp4' is not a regular file" err && [ ! -s out ] || fail "a video into a FIFO: $(cat err)"
run 1 --movie 3 --mdl missing.mdl --size 16x16 --out gone --quiet
grep -q "cannot open missing.mdl" err && [ ! -e gone ] || fail "keys that cannot be read: $(cat err)"

# Bands: joined by vips, one --export by decoded pixels, with and without antialiasing; no
# band carries a chunk. A poster beyond --export's bound renders band by band.
view=(--view -0.7436438870371587 0.131825904205312 0.002 1024 0x782 17)
for aa in "" --antialias; do
    run 0 "${view[@]}" --export 200x150 $aa --out whole.png
    for k in 1 2 3; do
        run 0 "${view[@]}" --export 200x150 $aa --band "$k/3" --out "band$k.png"
        ! grep -qa Velquorantisphaeron "band$k.png" || fail "band $k has a chunk"
    done
    vips arrayjoin "band1.png band2.png band3.png" joined.png --across 1
    same_rgba whole.png joined.png || fail "bands $aa"
done
run 0 "${view[@]}" --export 40000x30000 --band 30000/30000 --out - --quiet
[ "$(head -c 24 out | od -An -tu1 -j16 | awk '{print $3 * 256 + $4, $8}')" = "40000 1" ] ||
    fail "a band of 40000 x 30000"

# The stamp: the joined poster opens with its view; stamped again, it holds only the new one.
run 0 --stamp joined.png "${view[@]}"
stamped=$(cat out)
run 0 --png joined.png --size 64x48
[ "$(grep '^view' out)" = "$stamped" ] || fail "stamped view: $(cat out)"
run 0 --stamp joined.png --gallery 111
run 0 --png joined.png --size 64x48
[ "$(grep -ac Velquorantisphaeron joined.png)" = 1 ] && grep -q '^view -0.7564' out ||
    fail "stamped twice: $(cat out)"
run 1 --stamp keys.mdl --gallery 111

# GNU parallel on two local job slots, as docs/distributed.md has it over ssh: four ranges
# of frames written into one folder at once, then three bands joined and stamped.
awk -v n=20 -v s=5 'BEGIN { for (a = 1; a <= n; a += s) print a "-" (a + s - 1 < n ? a + s - 1 : n) }' |
    parallel --sshlogin 2/: "$render" "${movie[@]}" --out shared --frame-range {} >/dev/null
diff -r one shared >/dev/null || fail "parallel frames"
seq -w 1 3 | parallel --sshlogin 2/: "$render" "${view[@]}" --export 200x150 --antialias \
    --band {}/3 --out poster-{}.png --quiet >/dev/null
vips arrayjoin "$(ls poster-*.png | tr '\n' ' ')" poster.png --across 1
run 0 --stamp poster.png "${view[@]}"
same_rgba whole.png poster.png || fail "parallel poster"

# The Slurm array script, each task by hand.
slurm="$root/scripts/slurm/velq-render.sbatch"
echo "${view[*]:1:3} 1.33 ${view[*]:4}" >view.mdl
for task in 1 2 3; do
    SLURM_ARRAY_TASK_ID=$task SLURM_ARRAY_TASK_COUNT=3 VELQ_RENDER=$render \
        bash "$slurm" movie keys.mdl 20 64x48 slurm-frames >/dev/null
    SLURM_ARRAY_TASK_ID=$task SLURM_ARRAY_TASK_COUNT=3 VELQ_RENDER=$render \
        bash "$slurm" poster view.mdl 200x150 slurm-bands --antialias >/dev/null
done
diff -r one slurm-frames >/dev/null || fail "Slurm frames"
vips arrayjoin "$(ls slurm-bands/band-*.png | tr '\n' ' ')" slurm.png --across 1
same_rgba whole.png slurm.png || fail "Slurm poster"
echo "velq-render movies and posters: every check passed"
