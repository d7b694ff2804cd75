#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz) with clang into build-fuzz/ and runs each for
# the given seconds (default 60) from its seed corpus (tests/fuzz/corpus/<target>/), with a
# 512 MB memory limit. New inputs go to build-fuzz/corpus/<target>/, crashes, leaks and
# time-outs to build-fuzz/findings/. Prints executions and peak memory per target; exits
# non-zero when any target found something.
#   scripts/fuzz.sh [seconds] [target ...]
#   scripts/fuzz.sh --build        builds the targets and runs none
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=0
if [ "${1:-}" = "--build" ]; then
    build_only=1
    shift
fi
seconds="${1:-60}"
shift || true
build="${CORVANE_FUZZ_BUILD_DIR:-build-fuzz}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON \
    -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF -DCORVANE_SHOW=OFF -DCORVANE_MEDIA_TOOL=OFF >/dev/null
cmake --build "$build" --target corvane_fuzz
[ $build_only -eq 1 ] && exit 0
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for d in tests/fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
fi
mkdir -p "$build/findings"
# AddressSanitizer's quarantine (256 MB by default) alone would take half the memory limit;
# a smaller one still catches uses after free of the inputs a target handles.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=64}"
status=0
summary=""
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    mkdir -p "$work"
    log="$build/fuzz_$t.log"
    echo "== $t: ${seconds} s"
    verdict=""
    if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$build/findings/${t}-" \
        "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
        status=1
        verdict="  FINDING: see $log and $build/findings/"
    fi
    execs=$(awk '/stat::number_of_executed_units/ { print $2 }' "$log")
    rss=$(awk '/stat::peak_rss_mb/ { print $2 }' "$log")
    summary+=$(printf '%-12s %12s runs %6s MB peak%s' "$t" "${execs:-?}" "${rss:-?}" "$verdict")
    summary+=$'\n'
done
printf '%s' "$summary"
exit $status
