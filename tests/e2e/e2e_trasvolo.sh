# The installed wizard walked to its end with Enter starts the system's address book
# "wab.exe" found on the search path at step 1, and imports the sample "Datos.csv" into
# a fresh Vemora.dat made by the stand-in host, leaving the safety copy "DatosAnt.bak".
source "$(dirname "$0")/comun.sh" "$1"

consulta() { sqlcipher "$1" "PRAGMA key = 'quolby';" "$2"; }

# terminar_anfitrion WHAT: the host that the wizard started, found by its full path, is
# ended; WHAT is the failure when it does not start
anfitrion() { pgrep -f "^$APP/Vemora.exe" | head -n 1 | grep .; }
terminar_anfitrion() {
  esperar_que "$1" 20 anfitrion
  local host
  host=$(anfitrion)
  PIDS+=("$host")
  kill "$host"
  esperar_fin "$host"
}

[ -f "$APP/Datos.csv" ] || fallo "the sample Datos.csv is not installed"
[ -f "$APP/Trasvolo.exe" ] || fallo "Trasvolo.exe is not installed"
# The database side of the wizard is a module loaded at the safety copy.
[ -f "$APP/TrasvoloDatos.so" ] || fallo "TrasvoloDatos.so is not installed"

# The host makes an empty address book; it must be closed again, since it keeps the
# database locked while it runs.
rm -f "$APP/Vemora.dat" "$APP/DatosAnt.bak"
arrancar Vemora.exe
ANFITRION=$ULTIMO_PID
esperar_ventana '^Vemora$' >/dev/null
esperar_archivo "$APP/Vemora.dat"
kill "$ANFITRION"
esperar_fin "$ANFITRION"
[ "$(consulta "$APP/Vemora.dat" 'SELECT count(*) FROM Datos;')" = 0 ] || fallo "new Vemora.dat not empty"

# The address book of this desktop: a program on the search path that leaves a mark.
SISTEMA="$XDG_RUNTIME_DIR/sistema"
MARCA_WAB="$XDG_RUNTIME_DIR/wab-iniciado"
mkdir -p "$SISTEMA"
printf '#!/bin/sh\necho iniciado > "%s"\n' "$MARCA_WAB" > "$SISTEMA/wab.exe"
chmod +x "$SISTEMA/wab.exe"
export PATH="$SISTEMA:$PATH"

arrancar Trasvolo.exe
ASISTENTE=$ULTIMO_PID
VENTANA=$(esperar_ventana 'Asistente para trasvolo datos')
intro() {
  xdotool windowfocus --sync "$VENTANA" 2>/dev/null || true
  xdotool key Return
  sleep 0.3
}

intro
esperar_archivo "$MARCA_WAB" 15
for paso in 2 3 4 5 6 7 8 9; do intro; done
esperar_archivo "$APP/DatosAnt.bak"
intro # step 10: the import
# Done once the wizard has given the database back and all contacts are in.
limite=$(( $(date +%s) + 20 ))
until [ "$(consulta "$APP/Vemora.dat" 'SELECT count(*) FROM Datos;' 2>/dev/null)" = 11 ]; do
  [ "$(date +%s)" -lt "$limite" ] || fallo "the contacts were not imported"
  sleep 0.3
done
intro # "TERMINAR": the wizard ends and starts the host
esperar_fin "$ASISTENTE"

terminar_anfitrion "the wizard did not start Vemora.exe"

nombres=$(consulta "$APP/Vemora.dat" 'SELECT Nombre FROM Datos ORDER BY rowid;')
echo "$nombres" | grep -qx 'ana belén soto' || fallo "the repeated name did not replace the first: $nombres"
echo "$nombres" | grep -qx 'Muñoz, José Luis' || fallo "quoted name: $nombres"
echo "$nombres" | grep -qx '?' || fallo "empty name not stored as ?"
[ "$(consulta "$APP/Vemora.dat" "SELECT Email FROM Datos WHERE Nombre = 'ana belén soto';")" = \
  'ana.soto@trabajo.example' ] || fallo "the later line of a name did not win"
[ "$(consulta "$APP/Vemora.dat" "SELECT Indice FROM Datos WHERE Nombre = 'Héctor Ruiz Gómez';")" = 11 ] ||
  fallo "Indice of the last contact"
consulta "$APP/Vemora.dat" "SELECT Direccion FROM Datos WHERE Nombre = 'Íñigo Zubiría';" |
  head -n 1 | grep -q 'Calle Txurruka 3 Portal 2, 4º izquierda' || fallo "multi-line address"
[ "$(consulta "$APP/DatosAnt.bak" 'SELECT count(*) FROM Datos;')" = 0 ] ||
  fallo "DatosAnt.bak is not the copy taken before the import"

# Ended with Enter in the middle of a long import: the wizard stays, says how much of the
# file is in (the text itself is checked by tst_trasvolo), and only once that box is
# closed ends and starts the host.
awk 'BEGIN {
  printf "Nombre,Email,Calle,Ciudad,CP,Provincia,Pais,Tel,Movil,Web,Notas\r\n"
  for (i = 1; i <= 400000; i++)
    printf "Contacto %d,c%d@correo.example,Calle %d,Madrid,28013,Madrid,España,1,2,w,nota\r\n", i, i, i
}' >"$APP/Datos.csv"
rm -f "$MARCA_WAB"
arrancar Trasvolo.exe
ASISTENTE=$ULTIMO_PID
VENTANA=$(esperar_ventana 'Asistente para trasvolo datos')
intro
esperar_archivo "$MARCA_WAB" 15
for paso in 2 3 4 5 6 7 8 9 10; do intro; done
# The import is under way once its first batch is written. The file is only looked at:
# a reader would hold the lock the import takes at its start.
TAMANO=$(stat -c %s "$APP/Vemora.dat")
crecida() { [ "$(stat -c %s "$APP/Vemora.dat")" -gt "$TAMANO" ]; }
esperar_que "the import did not start" 60 crecida
intro
AVISO=$(esperar_ventana '^TRASVOLO INTERRUMPIDO\.$' 30)
kill -0 "$ASISTENTE" 2>/dev/null || fallo "the wizard ended before telling how much was imported"
pgrep -f "^$APP/Vemora.exe" >/dev/null && fallo "the host was started before the user was told"
xdotool windowfocus --sync "$AVISO" 2>/dev/null || true
xdotool key Return
esperar_fin "$ASISTENTE"
terminar_anfitrion "the interrupted wizard did not start Vemora.exe"
incluidos=$(consulta "$APP/Vemora.dat" "SELECT count(*) FROM Datos WHERE Nombre LIKE 'Contacto %';")
[ "$incluidos" -gt 0 ] && [ "$incluidos" -lt 400000 ] || fallo "not a partial import: $incluidos"
echo "e2e_trasvolo: wab.exe started, 12 lines imported as 11 contacts, DatosAnt.bak present;" \
  "an import ended with Enter at $incluidos of 400000 contacts said so before the host started"
