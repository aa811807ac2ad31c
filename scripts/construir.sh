#!/usr/bin/env bash
# Configures and builds the whole suite in build/ (or the folder given).
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
CONSTRUCCION=${1:-$RAIZ/build}
cmake -S "$RAIZ" -B "$CONSTRUCCION" -G Ninja -DCMAKE_BUILD_TYPE=${TIPO_CONSTRUCCION:-RelWithDebInfo} >/dev/null
cmake --build "$CONSTRUCCION" -j "$(nproc)"
