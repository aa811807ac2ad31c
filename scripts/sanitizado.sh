#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/) and runs every test, the end-to-end journeys included, under them.
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-$RAIZ/build-asan}
bash "$RAIZ/scripts/dependencias.sh"
cmake -S "$RAIZ" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSUITE_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$OUT" -j "$(nproc)"
cd "$OUT"
# Qt's own one-time allocations are not leaks of ours.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j "$(nproc)" --output-on-failure
