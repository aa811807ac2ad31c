# The bar on a real X server: its outline lets the desktop show through, a click on a
# located program's button starts it, it follows a drag by its background, and closing
# through the menu saves the settings. Without a notification area, so that the bar's
# own way into its menu is what the journey uses.
# escritorio: sin bandeja
source "$(dirname "$0")/comun.sh" "$1"
# A failure shows what the bar printed, if anything.
fallo() {
  echo "E2E FAIL: $*" >&2
  cat "$APP"/.salida-*.log >&2 2>/dev/null || true
  exit 1
}

# A sibling program that only leaves a mark, in a folder the bar already knows.
crear_hermano
printf '[Posicion]\r\nBrIzda=1500\r\nBrArriba=1500\r\n[Brivolar]\r\nNoctavo=%s/\r\n' "$HERMANO" \
  > "$APP/Vemora.INI"

pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }

import -window root /tmp/e2e-brivolar-antes.$$.png
arrancar Brivolar.exe
PID=$ULTIMO_PID
VENTANA=$(esperar_ventana '^Brivolar$')
en_sitio() { eval "$(xdotool getwindowgeometry --shell "$VENTANA")" && [ "$X,$Y" = "$1" ]; }
esperar_que "bar not at the stored 100,100" 10 en_sitio 100,100
eval "$(xdotool getwindowgeometry --shell "$VENTANA")"
import -window root /tmp/e2e-brivolar-despues.$$.png
ANTES=/tmp/e2e-brivolar-antes.$$.png
DESPUES=/tmp/e2e-brivolar-despues.$$.png
trap 'rm -f "$ANTES" "$DESPUES"; limpiar' EXIT

# Inside the three shapes the bar is painted; outside them the root window shows.
for p in "100 20" "350 9" "150 48"; do
  set -- $p
  [ "$(pixel "$ANTES" $((X+$1)) $((Y+$2)))" != "$(pixel "$DESPUES" $((X+$1)) $((Y+$2)))" ] ||
    fallo "point $1,$2 of the outline is not the bar's"
done
for p in "340 20" "10 50" "200 100" "360 60" "1 1"; do
  set -- $p
  [ "$(pixel "$ANTES" $((X+$1)) $((Y+$2)))" = "$(pixel "$DESPUES" $((X+$1)) $((Y+$2)))" ] ||
    fallo "point $1,$2 outside the outline belongs to the bar"
done

# A click on the first button starts the located program.
xdotool mousemove $((X+19)) $((Y+20)) click 1
esperar_archivo "$MARCA" 15

# Dragged by the background, 50 pixels right and 40 down.
xdotool mousemove $((X+79)) $((Y+30)) mousedown 1
for paso in 1 2 3 4 5; do
  # --sync returns once the pointer is there: each step is taken, none is skipped.
  xdotool mousemove --sync $((X+79+paso*10)) $((Y+30+paso*8))
done
# The window manager takes the move only once the bar has asked for it, which on a
# loaded machine may come after the motions above: a motion that reaches it brings
# the bar under the pointer (en_sitio reads X and Y anew: the target is fixed first).
DESTINO_X=$((X+129)) DESTINO_Y=$((Y+70))
llevada() {
  xdotool mousemove $((DESTINO_X-1)) "$DESTINO_Y" mousemove "$DESTINO_X" "$DESTINO_Y"
  en_sitio 150,140
}
esperar_que "dragged bar not at 150,140" 10 llevada
xdotool mouseup 1
esperar_que "dragged bar did not stay at 150,140" 10 en_sitio 150,140
eval "$(xdotool getwindowgeometry --shell "$VENTANA")"

# No notification area here: the menu opens with the right button on the background.
# Mark "Ocultar al inicio" (third item), then "SALIR" (the last).
xdotool mousemove $((X+37)) $((Y+20)) click 3
esperar_que "the right button did not open the menu" 10 menu_abierto Brivolar.exe "$VENTANA"
xdotool key Down Down Down Return
esperar_que "the menu stayed open" 10 menu_cerrado Brivolar.exe "$VENTANA"
xdotool mousemove $((X+37)) $((Y+20)) click 3
esperar_que "the right button did not open the menu again" 10 menu_abierto Brivolar.exe "$VENTANA"
xdotool key Up Return
esperar_fin "$PID" 15

valor() { grep -a "^$1=" "$APP/Vemora.INI" | head -n 1 | cut -d= -f2- | tr -d '\r' | sed 's/ *$//'; }
[ "$(valor BrIzda)" = "2250" ] || fallo "BrIzda is '$(valor BrIzda)'"
[ "$(valor BrArriba)" = "2100" ] || fallo "BrArriba is '$(valor BrArriba)'"
[ "$(valor Ocultar)" = "1" ] || fallo "Ocultar is '$(valor Ocultar)'"
[ "$(valor Noctavo)" = "$HERMANO/" ] || fallo "the stored folder changed"
echo "e2e_brivolar: ok"
