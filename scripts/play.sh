#!/usr/bin/env bash
# Builds the engine and the sample game, then plays it. Options go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/build.sh"
exec "$build/morvane" --data "$build/game" "$@"
