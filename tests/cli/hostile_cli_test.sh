#!/usr/bin/env bash
# The headless renderer with hostile inputs and a full disk: inputs it cannot use are refused
# with a message and exit 1; on a full disk --out and --counts fail the same way, the files
# they would have replaced keep their old content, and no temporary file is left.
set -euo pipefail
render=$1
work=$(mktemp -d)
small="$work/small"
mounted=0
cleanup() {
    [ "$mounted" = 1 ] && umount "$small"
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Renders into `folder` where nothing more fits; the old files must stay as they were.
check_refused() {
    local folder=$1 how=$2
    for target in picture.png counts.bin; do
        printf 'old %s\n' "$target" >"$folder/$target"
    done
    if [ "$how" = tmpfs ]; then dd if=/dev/zero of="$folder/filler" bs=1k 2>/dev/null || true; fi
    for option in --out --counts; do
        [ "$option" = --out ] && target=picture.png || target=counts.bin
        status=0
        (
            trap '' XFSZ # a write past the limit must fail, not end the process
            [ "$how" = limit ] && ulimit -f 1
            exec "$render" --view -0.7454 0.113 0.002 1024 0x741 490 --size 256x256 \
                "$option" "$folder/$target"
        ) >/dev/null 2>"$work/err" || status=$?
        [ "$status" = 1 ] || fail "$how: $option exited with $status"
        grep -q -- "$option: cannot write" "$work/err" || fail "$how: $option said $(cat "$work/err")"
        [ "$(cat "$folder/$target")" = "old $target" ] || fail "$how: $option changed the old file"
    done
    leftover=$(find "$folder" -name '.velq-*' | wc -l)
    [ "$leftover" = 0 ] || fail "$how: $leftover temporary files left behind"
}

# Inputs that give no view: a folder, a file whose reading fails at once, an endless device.
mkdir "$work/folder.mdl"
for input in "$work/folder.mdl" /proc/self/mem /dev/zero; do
    status=0
    timeout 60 "$render" --mdl "$input" --size 16x16 >/dev/null 2>"$work/err" || status=$?
    [ "$status" = 1 ] || fail "--mdl $input exited with $status"
    grep -q "cannot open $input" "$work/err" || fail "--mdl $input said $(cat "$work/err")"
done
grep -q "larger than 256 MB" "$work/err" || fail "an endless input is not called too large"
# A pipe is read to its end, as any file.
line=$("$render" --mdl <(printf '0.25 0 1 1 256 0x782 0\n') --size 16x16 | sed -n 1p)
[ "$line" = "view 0.25 0 1 256 0x00000782 0" ] || fail "a pipe gave: $line"

# A file-size limit of 1 kB stands in for a disk that is full.
mkdir "$work/limited"
check_refused "$work/limited" limit

# A real full disk, where a small file system can be mounted (root only).
mkdir "$small"
if mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
    mounted=1
    check_refused "$small" tmpfs
else
    echo "no small file system could be mounted: the full disk is only simulated"
fi
echo "hostile inputs refused; on a full disk the old files stay"
