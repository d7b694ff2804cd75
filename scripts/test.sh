#!/usr/bin/env bash
# Runs the whole test suite from build/ (or $CORVANE_BUILD_DIR, e.g. build-asan). Without a
# display it re-runs itself under a private Xvfb, so the gl and e2e tests render through Mesa.
# Audio goes to SDL's dummy driver.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$here/test.sh" "$@"
fi
cd "${CORVANE_BUILD_DIR:-$here/../build}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Sanitizer builds: every leak fails the test that had it, except leaks in system libraries,
# which are not ours to fix (see lsan.supp).
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}"
# Undefined behaviour fails the test that reached it instead of scrolling past.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
# unit tests in parallel, window tests one at a time (they share one display and focus)
status=0
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
ctest --output-on-failure -L unit -j "$(nproc)" --timeout 300 | tee -a "$log" || status=1
ctest --output-on-failure -LE unit --timeout 300 | tee -a "$log" || status=1
# ctest ends each run with "N% tests passed, F tests failed out of T": one line for both runs.
awk '/tests passed, [0-9]+ tests? failed out of/ { failed += $4; total += $NF }
     END { printf "%d passed, %d failed\n", total - failed, failed }' "$log"
exit $status
