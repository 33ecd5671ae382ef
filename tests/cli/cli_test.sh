#!/usr/bin/env bash
# The real headless renderer: both kernels agree, pictures carry their view and open again,
# exports have their sizes, refused arguments leave nothing behind, benchmarks agree on work.
set -euo pipefail
export LC_ALL=C
render=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
checks=0
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
ok() { checks=$((checks + 1)); }

# The aspect field (the fourth number) of a PNG's parameter chunk.
aspect_of() {
    head -c 400 "$1" | tr '\0\r\n' '   ' | grep -ao 'Velquorantisphaeron [^ ]* [^ ]* [^ ]* [^ ]*' |
        awk '{print $5}'
}
size_of() { identify -format '%wx%h' "$1"; }
png_ok() {
    if command -v pngcheck >/dev/null; then pngcheck -q "$1" || fail "pngcheck refuses $1"; fi
}

# Both kernels give the same counts, byte for byte.
views=(
    "0 0 2 1024 0x782 0"
    "-0.7454282857142857 -0.113008642857143 6.726190476e-06 1024 0x741 490"
    "-1.76860698847625 -0.00222910563 2.89909125e-06 4096 0x721 591"
    "-0.75 0.1 1e-16 256 0x782 0"
)
for view in "${views[@]}"; do
    # shellcheck disable=SC2086
    "$render" --view $view --size 256x160 --counts "$work/fast.cnt" >/dev/null
    # shellcheck disable=SC2086
    "$render" --view $view --size 256x160 --counts "$work/ref.cnt" --kernel reference >/dev/null
    [ "$(stat -c %s "$work/fast.cnt")" = $((256 * 160 * 2)) ] || fail "counts size for $view"
    cmp -s "$work/fast.cnt" "$work/ref.cnt" || fail "kernels differ for $view"
    ok
done

# The limit and the rotation come in as the window takes them; the width is floored.
line=$("$render" --view 0.5 -0.25 1e-20 1000 0x1f -3 --size 16x16 | sed -n 1p)
[ "$line" = "view 0.5 -0.25 1.0000000000000001e-15 1024 0x0000001f 0" ] || fail "view line: $line"
ok

# A gallery place: one view line, a PNG that opens again to the same view and counts.
"$render" --gallery 111 --size 320x240 --out "$work/g.png" --counts "$work/g.cnt" \
    >"$work/g.out" 2>"$work/g.err"
[ ! -s "$work/g.err" ] || fail "gallery 111 complains: $(cat "$work/g.err")"
[ "$(grep -c '^view ' "$work/g.out")" = 1 ] && grep -q '^work [0-9]* seconds [0-9.]*$' "$work/g.out" ||
    fail "gallery output: $(cat "$work/g.out")"
png_ok "$work/g.png"
[ "$(size_of "$work/g.png")" = 320x240 ] || fail "gallery picture size"
[ "$(aspect_of "$work/g.png")" = 1.33333333333333325932 ] || fail "gallery aspect"
"$render" --png "$work/g.png" --size 320x240 --counts "$work/p.cnt" >"$work/p.out"
[ "$(grep '^view' "$work/g.out")" = "$(grep '^view' "$work/p.out")" ] ||
    fail "reopened view: $(cat "$work/p.out")"
cmp -s "$work/g.cnt" "$work/p.cnt" || fail "reopened counts differ"
ok

# A parameter file of three lines (CR LF, LF, CR endings) renders three views in order.
printf '%s\r\n%s\n%s\r' \
    "-0.75 0.0 1.5 1.33 256 0x0000001f 3" \
    "0.25 0.0 0.01 1.0 512 0x00000782 1200" \
    "-1.25 0.1 0.002 4.0 1000 0x00000741 470" >"$work/three.mdl"
"$render" --mdl "$work/three.mdl" --size 64x48 --counts "$work/three.cnt" >"$work/three.out"
printf '%s\n' "view -0.75 0 1.5 256 0x0000001f 3" "view 0.25 0 0.01 512 0x00000782 1000" \
    "view -1.25 0.10000000000000001 0.002 1024 0x00000741 470" >"$work/three.expected"
grep '^view' "$work/three.out" | cmp -s - "$work/three.expected" ||
    fail "three views: $(cat "$work/three.out")"
"$render" --view -1.25 0.1 0.002 1024 0x741 470 --size 64x48 --counts "$work/last.cnt" >/dev/null
cmp -s "$work/three.cnt" "$work/last.cnt" || fail "the counts are not the last view's"
ok

# Files that give no view: exit 1, nothing written.
printf 'no view here\n' >"$work/none.mdl"
: >"$work/empty.mdl"
LC_ALL=C sed 's/Velquorantisphaeron/Velquorantisphaeroo/' "$work/g.png" >"$work/other.png"
for args in "--mdl $work/none.mdl" "--mdl $work/empty.mdl" "--mdl $work/missing.mdl" \
    "--png $work/other.png" "--png $work/three.mdl" "--png $work/missing.png"; do
    status=0
    # shellcheck disable=SC2086
    "$render" $args --size 32x32 --out "$work/no.png" --counts "$work/no.cnt" \
        >/dev/null 2>"$work/no.err" || status=$?
    [ "$status" = 1 ] || fail "$args: exit $status"
    [ -s "$work/no.err" ] || fail "$args: no message"
    [ ! -e "$work/no.png" ] && [ ! -e "$work/no.cnt" ] || fail "$args wrote a file"
done
grep -q "cannot open $work/missing.png" "$work/no.err" || fail "message: $(cat "$work/no.err")"
ok

# Off-screen pictures: the thumbnail and typed sizes, with the render size's aspect.
view="-0.7454282857142857 -0.113008642857143 6.726190476e-06 1024 0x741 490"
check_export() { # size aspect arguments...
    local size=$1 aspect=$2
    shift 2
    # shellcheck disable=SC2086
    "$render" --view $view "$@" --out "$work/e.png" >/dev/null
    png_ok "$work/e.png"
    [ "$(size_of "$work/e.png")" = "$size" ] || fail "$*: size $(size_of "$work/e.png")"
    [ "$(aspect_of "$work/e.png")" = "$aspect" ] || fail "$*: aspect $(aspect_of "$work/e.png")"
    rm "$work/e.png"
    ok
}
check_export 160x120 1.33333333333333325932 --thumbnail --size 64x64
check_export 1000x750 1.34042553191489366426 --export 1000x750
check_export 640x480 1.33333333333333325932 --export 640x480
check_export 320x160 2.00000000000000000000 --export 320x160 --antialias
check_export 320x240 1.33333333333333325932 --size 320x240

# Refused arguments: exit 2, one line on stderr naming the argument, no file.
mkdir "$work/bad"
o="--out $work/bad/x.png --counts $work/bad/x.cnt"
refused=(
    "--frobnicate|$o --view 0 0 2 256 0 0 --size 16x16 --frobnicate"
    "--view|$o --view 0 0 two 256 0 0 --size 16x16"
    "--view|$o --view 0 0 2 256 0"
    "--size|$o --view 0 0 2 256 0 0 --size 20x16"
    "--size|$o --view 0 0 2 256 0 0"
    "--gallery|$o --gallery 100 --size 16x16"
    "--gallery|$o --view 0 0 2 256 0 0 --gallery 101 --size 16x16"
    "--thumbnail|--view 0 0 2 256 0 0 --thumbnail --counts $work/bad/x.cnt"
    "--export|$o --view 0 0 2 256 0 0 --export 0x480"
    "--kernel|$o --view 0 0 2 256 0 0 --size 16x16 --kernel slow"
    "--bench|--bench 5"
    "--out|--bench 1 $o"
    "--counts|--view 0 0 2 256 0 0 --size 16x16 --counts"
)
for entry in "${refused[@]}"; do
    named=${entry%%|*}
    args=${entry#*|}
    status=0
    # shellcheck disable=SC2086
    "$render" $args >"$work/bad.out" 2>"$work/bad.err" || status=$?
    [ "$status" = 2 ] || fail "$args: exit $status"
    [ "$(wc -l <"$work/bad.err")" = 1 ] && grep -q -- "$named" "$work/bad.err" ||
        fail "$args: $(cat "$work/bad.err")"
    [ -z "$(ls -A "$work/bad")" ] || fail "$args left a file"
done
status=0
"$render" 2>/dev/null || status=$?
[ "$status" = 2 ] || fail "no arguments: exit $status"
ok

# A write that fails: a message and exit 1.
status=0
"$render" --view 0 0 2 256 0 0 --size 16x16 --out "$work/nowhere/x.png" >/dev/null \
    2>"$work/w.err" || status=$?
[ "$status" = 1 ] && grep -q -- --out "$work/w.err" || fail "failed write: exit $status"
ok

# Benchmarks: the same work with either kernel (the long sequences shortened).
for bench in "1 --frames 60" "3 --frames 20" "4"; do
    # shellcheck disable=SC2086
    fast=$("$render" --bench $bench --kernel fast)
    # shellcheck disable=SC2086
    reference=$("$render" --bench $bench --kernel reference)
    pattern='^sequence [1-4] frames [0-9]+ seconds [0-9]+\.[0-9]{3} work [0-9]+$'
    [[ $fast =~ $pattern ]] || fail "benchmark line: $fast"
    [ "${fast##* work }" = "${reference##* work }" ] || fail "work differs: $fast / $reference"
    ok
done
[ "$("$render" --bench 4 --frames 1 | cut -d' ' -f1-4)" = "sequence 4 frames 1" ] ||
    fail "frame limit"

echo "$checks passed, 0 failed"
