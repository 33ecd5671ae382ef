# shellcheck shell=bash
# Shared steps of the headless renderer's end-to-end tests, sourced with the renderer as $1:
# a private folder to work in, made the current one, and runs whose exit status is checked.
set -euo pipefail
export LC_ALL=C
render=$1
# On a file system of its own where there is one, so that a temporary file made anywhere but
# beside its target could not be renamed into place.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# run STATUS ARGS...: the renderer must exit with STATUS; its output in out and err.
run() {
    local want=$1 status=0
    shift
    "$render" "$@" >out 2>err || status=$?
    [ "$status" = "$want" ] || fail "$* exited $status, not $want: $(cat err)"
}
