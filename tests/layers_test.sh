#!/usr/bin/env bash
# The folders show the layers: fails when a file includes across a layer the wrong way.
#   layers_test.sh SRC_DIR
set -u
src=${1:?usage: layers_test.sh SRC_DIR}
status=0
# forbid FOLDER PATTERN WHY: no file under FOLDER may include what matches PATTERN.
forbid() {
    local hits
    hits=$(grep -rnE "^\s*#\s*include\s*[<\"]($2)" "$src/$1" 2>/dev/null)
    if [ -n "$hits" ]; then
        printf '%s\n%s\n' "$3" "$hits" >&2
        status=1
    fi
}
forbid core 'Q[A-Za-z]*[>"/.]|Qt[A-Za-z]*/|gui/|app/|cli/|pngio/' "the core is Qt-free and depends on nothing above it:"
forbid pngio 'gui/|app/|cli/|Q[A-Za-z]*Widget|QtWidgets' "the PNG writer depends on the core and QtGui only:"
forbid gui 'app/|cli/' "the GUI depends on the core and the PNG writer only:"
forbid cli 'gui/|app/|Q[A-Za-z]*[>"/.]' "the command-line renderer depends on the core (and the PNG writer in main):"
exit $status
