#!/usr/bin/env bash
# Runs one test program under an Xvfb of its own, so window tests can run side by side: none
# shares a display, a keyboard focus or a screen with another. Xvfb picks a free display
# number itself (-displayfd), which no other test or engineer on the machine can take first.
# CTest puts this in front of every gl and e2e test (tests/Display.cmake). Listing the tests
# needs no display.
set -uo pipefail
for a in "$@"; do
    [ "$a" = "--gtest_list_tests" ] && exec "$@"
done
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb writes its number once it accepts clients; a loaded machine may take seconds.
for _ in $(seq 1 600); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "with_display.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
DISPLAY=":$(head -n1 "$work/display")" "$@"
rc=$?
exit $rc
