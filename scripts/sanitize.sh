#!/usr/bin/env bash
# Runs the test suite under AddressSanitizer + UndefinedBehaviorSanitizer, and the tests that
# use threads (label "serial": the serial line, the download session, the simulated scale)
# under ThreadSanitizer; the long "soak" downloads are left out of both.
# Usage: scripts/sanitize.sh [address|thread|all]
set -euo pipefail
cd "$(dirname "$0")/.."
which=${1:-all}
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
export QT_QPA_PLATFORM=offscreen

run_address() {
    cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DTALVEX_BUILD_BENCH=OFF \
        "-DTALVEX_SANITIZE=address;undefined" >/dev/null
    cmake --build build-asan --parallel "$(nproc)"
    # Qt's own allocations at exit are not the program's leaks.
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure --timeout 600 -LE soak
}

run_thread() {
    cmake -S . -B build-tsan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DTALVEX_BUILD_BENCH=OFF \
        -DTALVEX_SANITIZE=thread >/dev/null
    # Only the programs of the serial tests: the rest would not run here.
    cmake --build build-tsan --parallel "$(nproc)" --target serial_test_programs
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp" \
        ctest --test-dir build-tsan --output-on-failure --timeout 600 -L serial
}

case "$which" in
    address) run_address ;;
    thread) run_thread ;;
    all) run_address; run_thread ;;
    *) echo "usage: $0 [address|thread|all]" >&2; exit 2 ;;
esac
