#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $MORVANE_BUILD_DIR) and runs every test headless there.
# -O1 with line tables only: the sanitizers' reports stay readable, and the
# build takes far less time than a full -O2 -g one. Benchmarks are left out:
# their numbers mean nothing under the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export MORVANE_BUILD_DIR=${MORVANE_BUILD_DIR:-$root/build-asan}
exec "$root/scripts/test.sh" -DMORVANE_SANITIZE=ON -DMORVANE_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" "$@"
