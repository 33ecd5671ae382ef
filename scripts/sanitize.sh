#!/usr/bin/env bash
# Builds and runs the tests under sanitizers: the whole suite with AddressSanitizer and
# UndefinedBehaviorSanitizer, the Qt-free core's tests with ThreadSanitizer (Qt is not
# instrumented, so only the core can run under it).
#   scripts/sanitize.sh [BUILD_PREFIX]   builds in BUILD_PREFIX-asan and BUILD_PREFIX-tsan
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=${1:-"$root/build"}

# Optimised a little, so that the render tests keep their pace, with line numbers in reports.
configure() {
    local dir=$1 flags=$2
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="$flags" -DVELQ_BENCH=OFF -DVELQ_WERROR=OFF -DVELQ_HARDENING=OFF >/dev/null
}

echo "== AddressSanitizer + UndefinedBehaviorSanitizer: the whole suite"
asan="$prefix-asan"
configure "$asan" "-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
cmake --build "$asan"
# A malloc that cannot be met returns nothing, as it does without the sanitizer, so that the
# program's own handling of it is what runs. (operator new still ends the process.)
export ASAN_OPTIONS="allocator_may_return_null=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Fewer stress renders: each costs about twice as much here.
# The end-to-end runs in a real window are left to the normal suite: under the sanitizers' slow
# start-up their waits for windows and dialogs would measure the machine, not the program.
# So are the heavy deep renders: they run the same code as the light ones, only longer.
(cd "$asan" && VELQ_STRESS_RENDERS=1500 ctest --output-on-failure --timeout 900 -j2 \
    -E '^(e2e_|DeepHeavy\.)')

echo "== ThreadSanitizer: the core's tests and the render stress"
tsan="$prefix-tsan"
configure "$tsan" "-fsanitize=thread"
cmake --build "$tsan" --target velq_core_tests velq_stress_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
"$tsan/tests/velq_core_tests" --gtest_brief=1 --gtest_filter='-DeepHeavy.*'
VELQ_STRESS_RENDERS=1000 "$tsan/tests/velq_stress_tests" --gtest_brief=1
