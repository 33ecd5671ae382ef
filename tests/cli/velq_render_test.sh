#!/usr/bin/env bash
# The real headless renderer: pictures carry their view in the chunk at
# byte 33 and open again, parameter files render every view, hostile inputs and a full disk
# fail with exit 1 and leave old files alone, refused arguments exit 2 and write nothing.
# shellcheck source=cli_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/cli_lib.sh"

# A gallery place: the parameter chunk right after IHDR, the picture valid, and opened again
# the same view and counts.
run 0 --gallery 111 --size 320x240 --out g.png --counts g.cnt
[ ! -s err ] && grep -q '^work [0-9]* seconds [0-9.]*$' out || fail "$(cat out)"
view=$(grep '^view' out)
chunk="tEXtVelquorantisphaeron|-0.75642389462955794688 0.06417941084478109848 0.00000000330000000000"
chunk+=" 1.33333333333333325932 8192 0x00000742 583||" # the keyword, its zero, the line, then "("
[ "$(head -c 200 g.png | tail -c +38 | tr '\0\r\n' '|||' | cut -d'(' -f1)" = "$chunk" ] ||
    fail "the chunk of gallery 111"
! command -v pngcheck >/dev/null || pngcheck -q g.png || fail "pngcheck refuses the picture"
run 0 --png g.png --size 320x240 --counts p.cnt --kernel reference
[ "$(grep '^view' out)" = "$view" ] && cmp -s g.cnt p.cnt &&
    [ "$(stat -c %s g.cnt)" = 153600 ] || fail "reopened, with the other kernel"

# "-" is standard output, written in full, and the lines move to standard error.
run 0 --gallery 111 --size 320x240 --out -
cmp -s out g.png && [ "$(grep '^view' err)" = "$view" ] || fail "--out -"
run 0 --gallery=111 --size=320x240 --counts=-
cmp -s out g.cnt || fail "--counts=-"
"$render" --gallery 116 --size 16x16 --counts - >/dev/full 2>/dev/null && fail "--counts - on a full disk"
run 0 --help --frob
grep -q '^usage: velq-render' out && run 0 --version && grep -qx 'velq-render [0-9.]*' out || fail "--help, --version"

# Off-screen pictures have their own sizes (IHDR's width and height).
for export in "160 120 --thumbnail" "1000 750 --export 1000x750" "320 160 --export 320x160 --antialias"; do
    run 0 --gallery 116 ${export#* * } --out e.png
    [ "$(od -An -tu1 -j16 -N8 e.png | awk '{print $3 * 256 + $4, $7 * 256 + $8}')" = "${export%% -*}" ] ||
        fail "size of $export"
done

# Three views (CR LF, LF, CR endings) read from a pipe (a FIFO): three view lines in turn,
# and the counts of the last.
printf '%s\r\n%s\n%s\r' "-0.75 0.0 1.5 1.33 256 0x1f 3" "0.25 0.0 0.01 1.0 512 0x782 1200" \
    "-1.25 0.1 0.002 4.0 1000 0x741 470" >three.mdl
run 0 --mdl <(cat three.mdl) --size 64x48 --counts three.cnt
views="view -0.75 0 1.5 256 0x0000001f 3|view 0.25 0 0.01 512 0x00000782 1000|"
views+="view -1.25 0.10000000000000001 0.002 1024 0x00000741 470|"
[ "$(grep '^view' out | tr '\n' '|')" = "$views" ] || fail "three views: $(cat out)"
run 0 --view -1.25 0.1 0.002 1024 0x741 470 --size 64x48 --counts last.cnt
cmp -s three.cnt last.cnt || fail "the counts are not the last view's"

# Inputs that give no view: exit 1, a message, no file. /dev/zero never ends: too large.
printf 'no view here\n' >none.mdl
mkdir folder.mdl
for input in "--mdl none.mdl" "--mdl missing.mdl" "--png three.mdl" "--mdl folder.mdl" \
    "--mdl /proc/self/mem" "--mdl /dev/zero"; do
    run 1 $input --size 32x32 --out no.png --counts no.cnt
    [ -s err ] && [ ! -e no.png ] && [ ! -e no.cnt ] || fail "$input"
done
grep -q "larger than 256 MB" err || fail "/dev/zero: $(cat err)"

# Names are bytes; a FIFO is no file to write, and waits for no reader.
run 0 --gallery 116 --size 16x16 --out o$'\xff'.png
[ -s o$'\xff'.png ] || fail "a name that is not UTF-8"
mkfifo fifo.png
run 1 --gallery 116 --size 16x16 --out fifo.png
grep -q "not a regular file" err && [ -p fifo.png ] || fail "--out onto a FIFO"

# A full disk (a file-size limit of 1 kB): exit 1, the old file kept, no temporary file left.
for option in --out --counts; do
    echo old >old
    status=0
    (trap '' XFSZ && ulimit -f 1 && exec "$render" --gallery 116 --size 256x256 $option old) \
        >/dev/null 2>err || status=$?
    [ "$status" = 1 ] && grep -q -- "$option: cannot write" err && [ "$(cat old)" = old ] &&
        [ -z "$(find . -name '.velq-*')" ] || fail "$option on a full disk: $(cat err)"
done

# Refused arguments: exit 2, one line naming the argument, no file.
for entry in "--view|--view 0 0 two 256 0 0 --size 16x16" "--out|--bench 1"; do
    run 2 ${entry#*|} --out x.png
    [ "$(wc -l <err)" = 1 ] && grep -q -- "${entry%%|*}" err && [ ! -e x.png ] || fail "${entry#*|}: $(cat err)"
done
run 2

# A benchmark's line.
run 0 --bench 4 --frames 3 --kernel reference
grep -qx 'sequence 4 frames 3 seconds [0-9]*\.[0-9][0-9][0-9] work [0-9]*' out || fail "the benchmark: $(cat out)"
run 0 --bench zoom --frames 2
grep -qx 'zoom notches 2 first p50 [0-9.]* p95 [0-9.]* exact p50 [0-9.]* p95 [0-9.]*' out || fail "the zoom benchmark: $(cat out)"
echo "velq-render: every check passed"
