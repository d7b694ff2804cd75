#!/usr/bin/env bash
# Runs the whole test suite from build/ (or $CORVANE_BUILD_DIR, e.g. build-asan), every test
# side by side: each gl and e2e test gets an Xvfb of its own (scripts/with_display.sh), so the
# window tests render through Mesa without sharing a display or the keyboard focus. Audio goes
# to SDL's dummy driver.
#   scripts/test.sh           everything
#   scripts/test.sh --quick   the unit and gl tests only, for the edit loop
# Other arguments go to ctest (e.g. -R Show). CORVANE_TEST_JOBS sets how many run at once.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
labels=()
if [ "${1:-}" = "--quick" ]; then
    labels=(-L '^(unit|gl)$')
    shift
fi
cd "${CORVANE_BUILD_DIR:-$here/../build}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Sanitizer builds: every leak fails the test that had it, except leaks in system libraries,
# which are not ours to fix (see lsan.supp).
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}"
# Undefined behaviour fails the test that reached it instead of scrolling past.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
status=0
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
ctest --output-on-failure -j "${CORVANE_TEST_JOBS:-$(nproc)}" --timeout 300 "${labels[@]}" "$@" |
    tee "$log" || status=1
# ctest counts a skipped test among those that did not fail; say them apart. Its summary is
# "N% tests passed, F tests failed out of T", then "The following tests did not run:" with
# one "(Skipped)" line per skipped test.
awk '/tests passed, [0-9]+ tests? failed out of/ { failed = $4; total = $NF }
     /^[ \t]*[0-9]+ - .* \(Skipped\)$/ { skipped += 1 }
     END { printf "%d passed, %d failed, %d skipped\n", total - failed - skipped, failed, skipped }' "$log"
exit $status
