#!/usr/bin/env bash
# Builds everything and runs every test headless; ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/build.sh" "$@"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300
