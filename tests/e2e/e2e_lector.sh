# The programs as a screen reader meets them, over AT-SPI: every command picture of the
# four programs is a push button whose first action is "Press"; pressing the diary's
# "TAREA SIGUIENTE" shows the next task and pressing a program of the bar starts it; Tab
# and Shift+Tab move through the diary's list and boxes without starting an edit. On a
# desktop without a notification area, so that the 1.8 launcher shows its own window.
# escritorio: sin bandeja

# A session bus of its own, on which the accessibility bus is launched.
if [ -z "${E2E_SESION_LECTOR:-}" ]; then
  export E2E_SESION_LECTOR=1
  exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/comun.sh" "$1"
LANZADOR_BUS=/usr/libexec/at-spi-bus-launcher
[ -x "$LANZADOR_BUS" ] || fallo "$LANZADOR_BUS is missing (package at-spi2-core)"
/usr/bin/python3 -c "import pyatspi" 2>/dev/null || fallo "pyatspi is missing (package python3-pyatspi)"
"$LANZADOR_BUS" --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
# Asked without starting it: the session bus would start a launcher of its own.
bus_accesible() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q "boolean true"
}
esperar_que "the accessibility bus did not start" 10 bus_accesible
# The toolkit serves the accessibility bus without waiting to be told a reader is on.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The system's Python, where python3-pyatspi lives.
lector() { /usr/bin/python3 "$(dirname "$0")/lector.py" "$@" || fallo "the screen reader's view"; }

# Two tasks in the diary's store, and a sibling program in a folder the bar knows.
sqlite3 "$APP/Rendalio.dat" \
  "CREATE TABLE TblDatos(Indice INTEGER PRIMARY KEY, Fecha TEXT, Descripcion TEXT, Tarea TEXT);
   INSERT INTO TblDatos VALUES(1, '01/01/2026', 'uno', 'Primera');
   INSERT INTO TblDatos VALUES(2, '02/01/2026', 'dos', 'Segunda');"
HERMANO="$APP/hermanos/Noctavo"
MARCA="$APP/hermanos/iniciado"
mkdir -p "$HERMANO"
printf '#!/bin/sh\necho iniciado > "%s"\n' "$MARCA" > "$HERMANO/Noctavo.exe"
chmod +x "$HERMANO/Noctavo.exe"
printf '[Brivolar]\r\nNoctavo=%s/\r\n[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n' "$HERMANO" \
  > "$APP/Vemora.INI"

arrancar Rendalio.exe
DIARIO=$ULTIMO_PID
VENTANA=$(esperar_ventana "^Tareas a recordar")
esperar_ventana "^Calendario$" >/dev/null
lector botones Rendalio.exe "ELIMINAR TAREA" "CREAR NUEVA TAREA" "GUARDAR CAMBIOS" \
  "TAREA ANTERIOR" "TAREA SIGUIENTE" "Mostrar A Y U D A" "COPIAR TAREAS"
lector texto Rendalio.exe Referencia Primera
lector pulsar Rendalio.exe "TAREA SIGUIENTE"
lector texto Rendalio.exe Referencia Segunda
lector texto Rendalio.exe Descripción dos

# The keyboard goes to the diary, whose list takes the focus; every Tab and Shift+Tab
# moves it on and leaves the crossed-out save picture in place (an edit would hide it
# in the same key's handling) and the texts as they were.
xdotool windowactivate --sync "$VENTANA" 2>/dev/null || xdotool windowfocus --sync "$VENTANA"
lector foco Rendalio.exe Tareas
for paso in "Tab Descripción" "Tab Referencia" "Tab Tareas" \
  "shift+Tab Referencia" "shift+Tab Descripción" "shift+Tab Tareas"; do
  read -r tecla destino <<<"$paso"
  xdotool key "$tecla"
  lector foco Rendalio.exe "$destino"
  lector mostrado Rendalio.exe "Guardar cambios no disponible" si
  lector mostrado Rendalio.exe "Cambios sin guardar" no
done
lector texto Rendalio.exe Descripción dos
lector texto Rendalio.exe Referencia Segunda
kill "$DIARIO"
esperar_fin "$DIARIO"

arrancar Brivolar.exe
BARRA=$ULTIMO_PID
esperar_ventana '^Brivolar$' >/dev/null
lector botones Brivolar.exe Noctavo Poemarex Custodex Numerax Apuntex Tempux Resguax Vemora \
  "Ocultar barra" "Mostrar AYUDA"
lector pulsar Brivolar.exe Noctavo
esperar_archivo "$MARCA" 15
kill "$BARRA"
esperar_fin "$BARRA"

arrancar Trasvolo.exe
esperar_ventana 'Asistente para trasvolo datos' >/dev/null
lector botones Trasvolo.exe "Mostrar AYUDA"
kill "$ULTIMO_PID"

# The 1.8 launcher as the update leaves it: in the bar's place, the installer gone.
mv "$APP/Actualizar Brivolar.exe" "$APP/Brivolar.exe"
arrancar Brivolar.exe
esperar_ventana '^Brivolar programas$' >/dev/null
lector botones Brivolar.exe Brivolar
echo "e2e_lector: OK"
