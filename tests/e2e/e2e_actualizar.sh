#!/usr/bin/env bash
# Update journey: the shipped "Actualizar Brivolar.exe" lying next to the installed bar
# replaces "Brivolar.exe" with itself after its warning, records the version and starts
# the new launcher, which removes the installer three seconds later and keeps running.
source "$(dirname "$0")/comun.sh" "$1"

INSTALADOR="$APP/Actualizar Brivolar.exe"
LANZADOR="$APP/Brivolar.exe"
[ -x "$INSTALADOR" ] || fallo "the installer is not in the application folder"
[ -x "$LANZADOR" ] || fallo "the bar is not in the application folder"
cmp -s "$INSTALADOR" "$LANZADOR" && fallo "the bar is already the installer"
REFERENCIA="$XDG_RUNTIME_DIR/instalador.ref"
cp "$INSTALADOR" "$REFERENCIA"

arrancar "Actualizar Brivolar.exe"
PID_INSTALADOR=$ULTIMO_PID
AVISO=$(esperar_ventana "ANTES DE ACTUALIZAR")
# Nothing is touched while the warning is on screen.
cmp -s "$INSTALADOR" "$LANZADOR" && fallo "the bar was replaced before the warning was answered"
xdotool windowfocus --sync "$AVISO"
xdotool key Return
esperar_fin "$PID_INSTALADOR"

cmp -s "$REFERENCIA" "$LANZADOR" || fallo "Brivolar.exe is not a copy of the installer"
[ -x "$LANZADOR" ] || fallo "the new Brivolar.exe is not executable"
grep -q "^Brivolar=Ver 1.8" "$APP/Vemora.INI" || fallo "the version mark was not written"

# The new launcher: on this tray-less X server it shows its own small window.
esperar_ventana "^Brivolar programas$" >/dev/null
PID_LANZADOR=""
for _ in $(seq 50); do
    PID_LANZADOR=$(pgrep -n -f -x "$LANZADOR" || true)
    [ -n "$PID_LANZADOR" ] && break
    sleep 0.1
done
[ -n "$PID_LANZADOR" ] || fallo "the new Brivolar.exe is not running"
PIDS+=("$PID_LANZADOR")
[ "$(readlink "/proc/$PID_LANZADOR/exe")" = "$LANZADOR" ] || fallo "the running launcher is another file"
[ -e "$INSTALADOR" ] || fallo "the installer was removed before its three seconds"

limite=$(( $(date +%s) + 15 ))
while [ -e "$INSTALADOR" ]; do
    [ "$(date +%s)" -lt "$limite" ] || fallo "the installer was not removed"
    sleep 0.2
done
sleep 0.5
kill -0 "$PID_LANZADOR" 2>/dev/null || fallo "the new launcher ended after the clean-up"
if xdotool search --onlyvisible --name "Resultado de la" >/dev/null 2>&1; then
    fallo "the clean-up reported a failure"
fi
echo "e2e_actualizar: OK"
