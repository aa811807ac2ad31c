#!/usr/bin/env bash
# Configures and builds the suite in build/ (or the folder given). Further arguments are
# passed to the configuration, e.g. -DSUITE_TESTS=OFF -DSUITE_BENCH=OFF to build only
# what an application folder holds.
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
CONSTRUCCION=${1:-$RAIZ/build}
shift $(($# > 0 ? 1 : 0))
cmake -S "$RAIZ" -B "$CONSTRUCCION" -G Ninja -DCMAKE_BUILD_TYPE=${TIPO_CONSTRUCCION:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$CONSTRUCCION" -j "$(nproc)"
