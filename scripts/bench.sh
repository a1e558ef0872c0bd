#!/usr/bin/env bash
# Builds the optimised benchmarks and runs them all: the logic, the saved and opened files
# and whole processes against the minimal reference (obrel_bench), then the Qt window, its
# memory and the start-up (obrel_qt_bench, offscreen unless QT_QPA_PLATFORM is set). Each
# ends with a table of every figure (medians), its ratio to the reference and its target.
# Extra arguments go to both, e.g. --benchmark_repetitions=10 or --benchmark_filter=Open.
# OBREL_BENCH_DIR=path builds in that folder instead of the preset's build/bench.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${OBREL_BENCH_DIR:-}" ]; then
  dir="$OBREL_BENCH_DIR"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOBREL_BUILD_BENCH=ON \
    -DOBREL_BUILD_GUI=ON -DOBREL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$dir" --target obrel_bench obrel_qt_bench obrel-srt-gen
else
  dir=build/bench
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target obrel_bench obrel_qt_bench obrel-srt-gen
fi

status=0
"$dir/obrel_bench" "$@" || status=1
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$dir/obrel_qt_bench" "$@" || status=1
exit $status
