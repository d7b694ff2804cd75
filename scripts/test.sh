#!/usr/bin/env bash
# Runs the whole test suite from build/. Without a display it starts a private Xvfb, so the
# gl and e2e tests render through Mesa. Audio goes to SDL's dummy driver.
set -euo pipefail
cd "$(dirname "$0")/../build"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
run() {
    # unit tests in parallel, window tests one at a time (they share one display and focus)
    ctest --output-on-failure -L unit -j "$(nproc)" --timeout 300
    ctest --output-on-failure -LE unit --timeout 300
}
if [ -z "${DISPLAY:-}" ]; then
    export -f run
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c run
else
    run
fi
