#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz and runs each for a bounded time from a start corpus of the project's fixture
# files (and a recovery copy). Exits non-zero on any finding; the input that caused it is kept in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$sanitizers -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DOBREL_BUILD_GUI=OFF -DOBREL_BUILD_TESTS=OFF -DOBREL_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" --target srt_scanner_fuzz recovery_copy_fuzz srt_open_fuzz replies_fuzz

mkdir -p "$build/findings"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
if [ -x "$symbolizer" ]; then export ASAN_SYMBOLIZER_PATH="$symbolizer"; fi
status=0
for target in srt_scanner_fuzz recovery_copy_fuzz srt_open_fuzz replies_fuzz; do
  # New inputs go to a fresh folder; the fixtures are the start corpus and stay untouched.
  corpus=$(mktemp -d)
  echo "== $target: ${seconds} s"
  if ! "$build/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$target-" "$corpus" tests/data/srt tests/data/recovery \
      2>"$build/$target.log"; then
    status=1
    tail -n 60 "$build/$target.log"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
    "$build/$target.log" || true
  grep -E '^#[0-9]+.*DONE' "$build/$target.log" | tail -n 1 || true
  rm -rf "$corpus"
done
exit "$status"
