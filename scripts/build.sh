#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (or $MORVANE_BUILD_DIR).
# Extra arguments go to CMake's configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MORVANE_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
