#!/usr/bin/env bash
# escritorio: wayland
# Programs that the user starts natively on Wayland (QT_QPA_PLATFORM=wayland) still
# work: the diary's menus are popups of its window, never windows of their own; the
# bar's icon asks the notification area to show the exported menu itself, and a right
# click that the area reports opens no window of the program's.
source "$(dirname "$0")/comun.sh" "$1"
export QT_QPA_PLATFORM=wayland

# ventanas_de TITLE-REGEX: how many windows of that title the compositor manages
ventanas_de() { ventanas_sway | awk -F '\t' -v t="$1" '$3 ~ t { n++ } END { print n + 0 }'; }
# nativa TITLE-REGEX: a window of that title is a Wayland one
nativa() { ventana_sway "$1" | grep -q '^xdg_shell'; }

# The protocol log tells a popup (get_popup) from a window (get_toplevel).
WAYLAND_DEBUG=client arrancar Rendalio.exe
REGISTRO="$APP/.salida-Rendalio.exe.log"
esperar_que "the diary did not open natively" 20 nativa '^Tareas a recordar'
esperar_que "the calendar did not open natively" 20 nativa '^Calendario$'
ventanas=$(grep -c 'get_toplevel(' "$REGISTRO")
popups=$(grep -c 'get_popup(' "$REGISTRO" || true)

# A right click in "Referencia" opens the text box's menu. The button goes only once the
# diary itself reports the pointer inside that box: a window the compositor has only
# just placed may still move (its title bar is added), so the pointer is aimed again at
# the window's latest place until then.
puntero_en() {
  awk -v px="$1" -v py="$2" '
    /wl_pointer@[0-9]+\.(enter|motion)\(/ { n = split($0, c, /[(), ]+/); x = c[n - 2]; y = c[n - 1] }
    /wl_pointer@[0-9]+\.leave\(/ { x = ""; y = "" }
    END { exit !(x != "" && (x - px) ^ 2 <= 4 && (y - py) ^ 2 <= 4) }' "$REGISTRO"
}
apuntar_a_referencia() {
  read -r x y _ _ < <(ventana_sway '^Tareas a recordar' | cut -f2)
  swaymsg seat seat0 cursor set $((x + 198)) $((y + 350)) >/dev/null
  puntero_en 198 350
}
esperar_que "the pointer never reached the diary's Referencia box" 20 apuntar_a_referencia
clic_sway $((x + 198)) $((y + 350)) button3
otro_popup() { [ "$(grep -c 'get_popup(' "$REGISTRO")" -gt "$popups" ]; }
esperar_que "the text box's menu did not open as a popup" 10 otro_popup
[ "$(grep -c 'get_toplevel(' "$REGISTRO")" -eq "$ventanas" ] || fallo "a menu opened as a window"
[ "$(ventanas_de .)" -eq 2 ] || fallo "the compositor shows $(ventanas_de .) windows"

WAYLAND_DEBUG=client arrancar Brivolar.exe
PID_BARRA=$ULTIMO_PID
REGISTRO="$APP/.salida-Brivolar.exe.log"
SERVICIO="org.kde.StatusNotifierItem-$PID_BARRA-1"
esperar_que "the bar did not open natively" 20 nativa '^Brivolar$'
esperar_que "the bar's icon did not register" 20 elemento_registrado "$SERVICIO"
sni_propiedad "$SERVICIO" ItemIsMenu | grep -q true || fallo "the area is not asked to show the menu"
ventanas=$(grep -c 'get_toplevel(' "$REGISTRO")
sni "$SERVICIO" ContextMenu 640 15
# The bar answers its calls in order: once this one is answered, the right click has
# been handled, and a window it made would already be in the protocol log.
sni_propiedad "$SERVICIO" Status >/dev/null
[ "$(grep -c 'get_toplevel(' "$REGISTRO")" -eq "$ventanas" ] || fallo "a right click on the icon opened a window"
echo "e2e_wayland_nativo: OK"
