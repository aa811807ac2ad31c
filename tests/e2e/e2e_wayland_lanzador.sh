#!/usr/bin/env bash
# escritorio: wayland
# The installed launcher of version 1.8 on a Wayland desktop whose notification area
# speaks StatusNotifierItem (sway, XWayland, waybar): it runs on XWayland and registers
# its item; a click and a right click that the area reports open the menu at the icon,
# beside the panel; the menu's item starts a located program, and a click on the icon
# closes an open menu; the area's own menu (the one exported over the bus) lists the
# same items; a double click ends the launcher and takes the icon away.
source "$(dirname "$0")/comun.sh" "$1"

# A sibling program that only leaves a mark, in a folder the settings already hold.
crear_hermano
printf '[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[Brivolar]\r\nNoctavo=%s/\r\n' "$HERMANO" \
  >"$APP/Vemora.INI"
cp "$APP/Actualizar Brivolar.exe" "$APP/Brivolar.exe"

arrancar Brivolar.exe
PID=$ULTIMO_PID
SERVICIO="org.kde.StatusNotifierItem-$PID-1"
esperar_que "the launcher's item did not register with the notification area" 20 \
  elemento_registrado "$SERVICIO"
sni_propiedad "$SERVICIO" ItemIsMenu | grep -q false || fallo "on XWayland the launcher should open its own menu"
sni_propiedad "$SERVICIO" Menu | grep -q "'/MenuBar'" || fallo "the menu is not exported"

# The menu is a window of the X server (XWayland), not of the compositor.
menu_x() { xdotool search --onlyvisible --class '^Brivolar\.exe$' 2>/dev/null | head -n 1 | grep .; }
sin_menu() { ! menu_x; }
# en_el_icono X Y: the open menu holds the click's column and opens just below the
# 30-pixel panel, not over it and not elsewhere on the screen
en_el_icono() {
  local x y w h
  read -r x y w h < <(geometria_x "$(menu_x)")
  [ "$x" -le "$1" ] && [ "$1" -lt $((x + w)) ] && [ "$y" -ge 30 ] && [ "$y" -le $((2 * $2 + 4)) ] ||
    fallo "menu at $x,$y (${w}x$h) for a click at $1,$2"
}

# A right click opens the menu at once.
sni "$SERVICIO" ContextMenu 640 15
esperar_que "a right click reported by the area opened no menu" 10 menu_x
en_el_icono 640 15
# A click on the icon while the menu is open closes it (the X server never sees a click
# outside its windows).
sni "$SERVICIO" Activate 640 15
esperar_que "a click on the icon did not close the open menu" 10 sin_menu

# A click opens it after the double-click time; the third entry below the help is the
# first program, located in the settings, chosen with the keys the menu holds.
sni "$SERVICIO" Activate 1262 15
esperar_que "a click reported by the area opened no menu" 10 menu_x
en_el_icono 1262 15
[ -e "$MARCA" ] && fallo "the click that opened the menu started a program"
xdotool key Down Down Down Return
esperar_archivo "$MARCA" 15
esperar_que "the menu stayed open after its choice" 10 sin_menu

# The exported menu, as an area that draws menus itself reads it.
MENU=$(gdbus call --session --dest "$SERVICIO" --object-path /MenuBar \
  --method com.canonical.dbusmenu.GetLayout -- 0 -1 '["label"]')
for titulo in "Mostrar AYUDA" "Selec. carpeta" Noctavo Vemora "Botón Web" SALIR; do
  grep -q "'$titulo'" <<<"$MENU" || fallo "the exported menu lacks '$titulo'"
done

# Two activations within the double-click time end the launcher.
sni_doble "$SERVICIO" 640 15
esperar_fin "$PID" 15
sin_elemento() { ! elemento_registrado "$SERVICIO"; }
esperar_que "the item stayed in the notification area" 10 sin_elemento
echo "e2e_wayland_lanzador: OK"
