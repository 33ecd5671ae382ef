#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs each from its seed corpus for a bounded time; any crash, leak, hang or sanitizer
# report fails the run.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_HARNESS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-"$root/build-fuzz"}
seconds=${2:-60}
harnesses=(paramline pngchunk openpath)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" \
    -DVELQ_FUZZ=ON -DVELQ_BENCH=OFF -DVELQ_WERROR=OFF -DVELQ_HARDENING=OFF >/dev/null
cmake --build "$dir" --target "${harnesses[@]/#/velq_fuzz_}"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"
summary=()
for name in "${harnesses[@]}"; do
    # New inputs go to a corpus in the build folder; the seeds in the repository stay as they are.
    corpus="$dir/corpus/$name"
    artifacts="$dir/artifacts/$name/"
    log="$dir/fuzz-$name.log"
    mkdir -p "$corpus" "$artifacts"
    echo "== fuzzing $name for $seconds s"
    status=0
    "$dir/fuzz/velq_fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "$root/fuzz/corpus/$name" \
        >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
        tail -n 60 "$log" >&2
        echo "fuzzing $name failed (exit $status); the input is in $artifacts" >&2
        exit 1
    fi
    summary+=("$name: $runs executions in $seconds s, corpus $(find "$corpus" -type f | wc -l) inputs")
done
printf 'fuzzed %s\n' "${summary[@]}"
