#!/usr/bin/env bash
# Runs the four benchmark sequences and the start view with the plain and the fast kernel in one
# go and prints how many times faster the fast kernel is.
#
#   bench/sequences.sh [BUILD_DIR]      (default: build; needs velq-render and velq_kernel_bench)
#
# The sequences run through velq-render --bench, on the program's eight worker threads, and the
# time is the one the benchmark itself reports (its frames and their recolouring). velq-render
# prints no time for a single view, so the start view (x 0, y 0, w 2, 1280 x 960, limit 256 in
# force) is timed by velq_kernel_bench, which renders it with the same renderer: the eight
# workers, then the colours. Each sequence runs three times with the fast kernel and twice with
# the plain loop, and the best time of each is kept. CPU seconds (user + system, all threads) of
# those runs are shown as a ratio too, and the load average before and after: on a machine
# shared with other work the wall clock is only worth as much as the quiet it was measured in.
set -euo pipefail

build=${1:-build}
render="$build/bin/velq-render"
bench="$build/bench/velq_kernel_bench"
for tool in "$render" "$bench"; do
    if [[ ! -x $tool ]]; then
        echo "sequences.sh: $tool not found; build velq-render and velq_kernel_bench first" >&2
        exit 1
    fi
done

# Prints "SECONDS CPU" for one benchmark run: the seconds velq-render reports and the CPU time.
run_sequence() {
    local n=$1 kernel=$2 out cpu TIMEFORMAT='%U %S'
    cpu=$({ time "$render" --bench "$n" --kernel "$kernel" >"$tmp/out"; } 2>&1)
    out=$(<"$tmp/out")
    [[ $out =~ seconds\ ([0-9.]+) ]] || { echo "sequences.sh: unexpected output: $out" >&2; exit 1; }
    echo "${BASH_REMATCH[1]} $(awk '{printf "%.2f", $1 + $2}' <<<"$cpu")"
}

# The best of `times` runs of sequence n with `kernel`, as "SECONDS CPU".
best_of() {
    local times=$1 n=$2 kernel=$3 k
    for ((k = 0; k < times; k++)); do
        run_sequence "$n" "$kernel"
    done | sort -n | awk 'NR == 1'
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The start view first: its benchmark also names the instruction set the fast kernel uses.
# Google Benchmark repeats it; the medians of real (wall) time are kept, in seconds.
"$bench" --benchmark_filter='^Window/start_1280x960/' --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv \
    >"$tmp/start.csv" 2>"$tmp/start.err"
median() {
    awk -F, -v name="\"Window/start_1280x960/$1/real_time_median\"" \
        '$1 == name { print $3 / 1000 }' "$tmp/start.csv"
}
start_plain=$(median reference)
start_fast=$(median fast)

model=$(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)
isa=$(awk -F': ' '/^fast kernel/ { print $2 }' "$tmp/start.err")
echo "CPU: $model, $(nproc) cores; fast kernel built for $isa"
echo "load average before: $load_before"
echo
printf '%-22s %13s %13s %8s %13s\n' "" "plain loop s" "fast s" "ratio" "CPU ratio"

for n in 1 2 3 4; do
    fast=$(best_of 3 "$n" fast)
    plain=$(best_of 2 "$n" reference)
    read -r ps pc <<<"$plain"
    read -r fs fc <<<"$fast"
    printf '%-22s %13.3f %13.3f %7.1fx %12.1fx\n' "sequence $n" "$ps" "$fs" \
        "$(awk "BEGIN { print $ps / $fs }")" "$(awk "BEGIN { print $pc / $fc }")"
done

printf '%-22s %13.4f %13.4f %7.1fx %13s\n' "start view 1280x960" "$start_plain" "$start_fast" \
    "$(awk "BEGIN { print $start_plain / $start_fast }")" "-"
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
