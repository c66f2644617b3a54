#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a bounded time on a copy of
# its seed corpus in fuzz/corpus/<target>/. New inputs that reach new code go to build-fuzz/corpus/,
# crashes and broken properties to build-fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# $TALVEX_FUZZ_SEED fixes libFuzzer's random seed, so that a short run in CI explores the same inputs
# each time (a finding there is then reproducible, and a clean run is not luck); unset, each run differs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_csv_import fuzz_xls_import fuzz_workbook_import fuzz_xml_check fuzz_ack_parser fuzz_plu_record)
fi
build=${TALVEX_FUZZ_BUILD_DIR:-build-fuzz}
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

CC=clang CXX=clang++ cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALVEX_FUZZ=ON -DTALVEX_BUILD_TESTS=OFF -DTALVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# The longest input each target takes, in bytes: records and answers are short, files are small
# tables; longer inputs only slow the search down.
max_len() {
    case "$1" in
        fuzz_ack_parser) echo 2048 ;;
        fuzz_plu_record) echo 2048 ;;
        fuzz_csv_import) echo 16384 ;;
        fuzz_xml_check) echo 16384 ;;
        *) echo 65536 ;;
    esac
}

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
seed=()
if [ -n "${TALVEX_FUZZ_SEED:-}" ]; then
    seed=(-seed="$TALVEX_FUZZ_SEED")
fi
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    echo "== $target: $seconds s"
    # -rss_limit_mb: a file that makes Import take more memory than this is a finding too.
    if ! "$build/fuzz/$target" "$corpus" "${seed[@]}" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
        -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$findings/" -print_final_stats=1 \
        2>"$build/$target.log"; then
        status=1
        echo "!! $target found a problem: see $build/$target.log and $findings/" >&2
        tail -n 40 "$build/$target.log" >&2
    else
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$build/$target.log" | tr '\n' ' '
        echo
    fi
done
exit $status
