#!/usr/bin/env bash
# Installs what is missing, builds the programs, lays out a complete application folder in
# aplicacion/ (with the stand-in host Vemora) and starts the diary Rendalio there.
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
APP="$RAIZ/aplicacion"
bash "$RAIZ/scripts/dependencias.sh"
# Only what the folder holds (programs, their modules, sounds, help, the stand-in host):
# the tests and benchmarks are built by scripts/probar.sh, in build/.
bash "$RAIZ/scripts/construir.sh" "$RAIZ/build-aplicacion" -DSUITE_TESTS=OFF -DSUITE_BENCH=OFF
cmake --install "$RAIZ/build-aplicacion" --prefix "$APP" >/dev/null
echo "Application folder: $APP"
cd "$APP"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./Rendalio.exe
fi
# Without a screen the diary is started on a virtual one for a few seconds and a
# picture of it is left in the folder, so the set-up can still be checked.
echo "No display found: starting Rendalio on a virtual screen and saving a screenshot."
# The diary needs no notification area, so the virtual desktop goes without one.
E2E_SIN_BANDEJA=1 bash "$RAIZ/tests/e2e/con_xvfb.sh" bash -c '
  ./Rendalio.exe & pid=$!
  for i in $(seq 1 50); do
    xdotool search --onlyvisible --name "Tareas a recordar" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  import -window root "'"$APP"'/captura-rendalio.png"
  kill $pid
  wait $pid 2>/dev/null || true'
echo "Rendalio started and closed; screenshot: $APP/captura-rendalio.png"
