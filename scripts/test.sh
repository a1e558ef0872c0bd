#!/usr/bin/env bash
# Builds the program, the driver and the tests, and runs every test.
# Usage: scripts/test.sh [default|ci|asan]   (ci: warnings are errors, as CI builds)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j2
