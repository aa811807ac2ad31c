#!/usr/bin/env bash
# Update journey: the shipped "Actualizar Brivolar.exe" lying next to the installed bar
# replaces "Brivolar.exe" with itself after its warning, records the version and starts
# the new launcher, which docks its icon, removes the installer three seconds later and
# keeps running: a click on the icon opens the menu, whose item starts a located program,
# and a double click on the icon ends the launcher.
source "$(dirname "$0")/comun.sh" "$1"

# A sibling program that only leaves a mark, in a folder the settings already hold.
crear_hermano
printf '[Brivolar]\r\nNoctavo=%s/\r\n' "$HERMANO" > "$APP/Vemora.INI"

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

# The new launcher docks its icon in the notification area.
ICONO=$(esperar_icono Brivolar.exe)
lanzador_vivo() { PID_LANZADOR=$(pgrep -n -f -x "$LANZADOR"); }
esperar_que "the new Brivolar.exe is not running" 10 lanzador_vivo
lanzador_vivo
PIDS+=("$PID_LANZADOR")
[ "$(readlink "/proc/$PID_LANZADOR/exe")" = "$LANZADOR" ] || fallo "the running launcher is another file"
[ -e "$INSTALADOR" ] || fallo "the installer was removed before its three seconds"
esperar_que "the installer was not removed" 15 test ! -e "$INSTALADOR"

# One click opens the menu and leaves it open (its release chooses nothing); the third
# entry below the help is the first program, located in the settings.
xdotool mousemove --window "$ICONO" 11 11 click 1
esperar_que "a click on the icon did not open the menu" 10 menu_abierto Brivolar.exe "$ICONO"
[ -e "$MARCA" ] && fallo "the click that opened the menu started a program"
xdotool key Down Down Down Return
esperar_archivo "$MARCA" 15
esperar_que "the menu stayed open after its choice" 10 menu_cerrado Brivolar.exe "$ICONO"
kill -0 "$PID_LANZADOR" 2>/dev/null || fallo "the launcher ended after the clean-up"
if xdotool search --onlyvisible --name "Resultado de la" >/dev/null 2>&1; then
    fallo "the clean-up reported a failure"
fi

# A double click on the icon ends the launcher and takes the icon away.
xdotool mousemove --window "$ICONO" 11 11 click --repeat 2 --delay 80 1
esperar_fin "$PID_LANZADOR" 15
esperar_que "the icon stayed in the notification area" 10 sh -c "! xwininfo -id $ICONO"
echo "e2e_actualizar: OK"
