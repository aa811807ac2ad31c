# The diary as a user meets it: first start in a fresh folder, a task typed and saved
# with the mouse, a copy of all tasks, then closing; the results are read from the
# task file, the settings file and the clipboard.
source "$(dirname "$0")/comun.sh" "$1"

[ -x "$APP/Rendalio.exe" ] || fallo "Rendalio.exe is not installed"
arrancar Rendalio.exe
PID=$ULTIMO_PID
VENTANA=$(esperar_ventana "^Tareas a recordar")
esperar_ventana "^Calendario$" >/dev/null
esperar_archivo "$APP/Rendalio.dat"
sleep 0.5

clic() { xdotool mousemove --window "$VENTANA" "$1" "$2" click 1; sleep 0.3; }

# New task (the paper scroll), a reference typed, then the floppy disk.
clic 62 109
clic 150 350
xdotool type --delay 20 "Dentista 17:30"
clic 102 102

# Hovering the notepad opens the copy panel; its red icon copies every task.
xdotool mousemove --window "$VENTANA" 196 81
sleep 0.4
xdotool mousemove --window "$VENTANA" 195 82
sleep 0.4
clic 223 49
COPIA=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true)
echo "$COPIA" | grep -q "^SE COPIARON 1 TAREAS EN TOTAL\.$" || fallo "clipboard: $COPIA"
echo "$COPIA" | grep -q "^\* .* - Dentista 17:30$" || fallo "task missing from the clipboard"
echo "$COPIA" | grep -q "^ \{25\}--- oOo ---$" || fallo "separator missing from the clipboard"

xdotool windowfocus --sync "$VENTANA" key alt+F4
esperar_fin "$PID"

TABLA=$(sqlite3 "$APP/Rendalio.dat" "SELECT name FROM sqlite_master WHERE type='table'")
[ "$TABLA" = "TblDatos" ] || fallo "Rendalio.dat holds '$TABLA'"
FILA=$(sqlite3 "$APP/Rendalio.dat" "SELECT Indice || '|' || Descripcion || '|' || Tarea FROM TblDatos")
[ "$FILA" = "1|?|Dentista 17:30" ] || fallo "stored task: '$FILA'"

INI="$APP/Vemora.INI"
[ -f "$INI" ] || fallo "Vemora.INI was not written"
for clave in ReIzda ReArriba CaIzda CaArriba CaAncho CaAlto; do
  grep -Eq "^$clave=-?[0-9]+"$'\r'"?$" "$INI" || fallo "$clave missing or not decimal in Vemora.INI"
done
grep -q "^\[Posicion\]" "$INI" || fallo "section Posicion missing"
echo "e2e_diary: OK"
