#!/usr/bin/env bash
# The test command: installs what is missing, builds, and runs every test (the unit
# tests headless, the end-to-end journeys on a virtual X server).
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
bash "$RAIZ/scripts/dependencias.sh"
bash "$RAIZ/scripts/construir.sh" "$RAIZ/build"
cd "$RAIZ/build"
ctest -j "$(nproc)" --output-on-failure --timeout 600
