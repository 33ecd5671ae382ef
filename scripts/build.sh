#!/usr/bin/env bash
# Configures and builds the project: scripts/build.sh BUILD_DIR [extra cmake arguments].
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-"$root/build"}
shift || true
werror=OFF
[ -n "${CI:-}" ] && werror=ON
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELQ_WERROR="$werror" "$@" >/dev/null
cmake --build "$dir"
