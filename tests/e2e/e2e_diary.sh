# The diary as a user meets it: first start in a fresh folder, three tasks typed and
# saved with the mouse (one with a description on two lines), a double click on the
# next-task button, a copy of the task shown and of all tasks, then closing; the
# results are read from the task file, the settings file and the clipboard.
source "$(dirname "$0")/comun.sh" "$1"

[ -x "$APP/Rendalio.exe" ] || fallo "Rendalio.exe is not installed"
arrancar Rendalio.exe
PID=$ULTIMO_PID
VENTANA=$(esperar_ventana "^Tareas a recordar")
esperar_ventana "^Calendario$" >/dev/null
esperar_archivo "$APP/Rendalio.dat"
sleep 0.5

# The pause paces the clicks as a hand does; results are waited for where they are read.
clic() { xdotool mousemove --window "$VENTANA" "$1" "$2" click 1; sleep 0.3; }
portapapeles() { xclip -o -selection clipboard 2>/dev/null || true; }
copia_con() { portapapeles | tr -d '\r' | grep -q "$1"; }

# New task (the paper scroll), a reference typed, then the floppy disk.
nueva() {
  clic 62 109
  if [ -n "${2:-}" ]; then
    clic 150 260
    xdotool type --delay 20 "${2%%|*}"
    xdotool key Return
    xdotool type --delay 20 "${2#*|}"
  fi
  clic 150 350
  xdotool type --delay 20 "$1"
  clic 102 102
}
nueva "Dentista 17:30"
nueva "Taller"
nueva "Zapatero" "linea uno|linea dos"

# From the first line of the list, a double click on the next-task arrow is one step.
clic 260 82
xdotool mousemove --window "$VENTANA" 174 110 click --repeat 2 --delay 60 1
sleep 0.3

# Hovering the notepad opens the copy panel; its blue icon copies the task shown and
# its red icon every task.
xdotool mousemove --window "$VENTANA" 196 81
sleep 0.4
xdotool mousemove --window "$VENTANA" 195 82
sleep 0.4
clic 170 47
esperar_que "a double click did not show the second task" 10 \
  copia_con "^\* .* - Taller$"
clic 223 49
esperar_que "copy-all did not reach the clipboard" 10 \
  copia_con "^SE COPIARON 3 TAREAS EN TOTAL\.$"
CRUDA=$(portapapeles)
COPIA=$(printf '%s' "$CRUDA" | tr -d '\r')
echo "$COPIA" | grep -q "^\* .* - Dentista 17:30$" || fallo "task missing from the clipboard"
echo "$COPIA" | grep -q "^ \{25\}--- oOo ---$" || fallo "separator missing from the clipboard"
[[ "$CRUDA" == *$'* linea uno\r\nlinea dos\r\n\r\n'* ]] ||
  fallo "the two-line description is not copied with CR+LF"

xdotool windowfocus --sync "$VENTANA" key alt+F4
esperar_fin "$PID"

TABLA=$(sqlite3 "$APP/Rendalio.dat" "SELECT name FROM sqlite_master WHERE type='table'")
[ "$TABLA" = "TblDatos" ] || fallo "Rendalio.dat holds '$TABLA'"
FILAS=$(sqlite3 "$APP/Rendalio.dat" "SELECT group_concat(Indice || '|' || Tarea, ',') FROM TblDatos")
[ "$FILAS" = "1|Dentista 17:30,2|Taller,3|Zapatero" ] || fallo "stored tasks: '$FILAS'"
DESCRIPCION=$(sqlite3 "$APP/Rendalio.dat" \
  "SELECT Descripcion = 'linea uno' || char(13, 10) || 'linea dos' FROM TblDatos WHERE Indice = 3")
[ "$DESCRIPCION" = "1" ] || fallo "the two-line description is not stored with CR+LF"

INI="$APP/Vemora.INI"
[ -f "$INI" ] || fallo "Vemora.INI was not written"
for clave in ReIzda ReArriba CaIzda CaArriba CaAncho CaAlto; do
  grep -Eq "^$clave=-?[0-9]+"$'\r'"?$" "$INI" || fallo "$clave missing or not decimal in Vemora.INI"
done
grep -q "^\[Posicion\]" "$INI" || fallo "section Posicion missing"
echo "e2e_diary: OK"
