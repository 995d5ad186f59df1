#!/usr/bin/env bash
# Builds everything and runs every test headless; ends with CTest's summary.
# Extra arguments go to CMake's configure step; $MORVANE_CTEST_ARGS to CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/build.sh" "$@"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
# shellcheck disable=SC2086 # the extra CTest arguments are meant to be split into words
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300 ${MORVANE_CTEST_ARGS:-}
