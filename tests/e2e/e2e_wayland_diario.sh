#!/usr/bin/env bash
# escritorio: wayland
# Every program on a Wayland desktop that also runs an X server (sway with XWayland):
# the diary starts on XWayland with its calendar, and so do the bar (whose icon
# registers with the StatusNotifierItem area), the wizard and the host. None of them
# is told which platform to use: each chooses XWayland itself.
source "$(dirname "$0")/comun.sh" "$1"
[ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] || fallo "not a Wayland desktop with XWayland"
unset QT_QPA_PLATFORM

# en_xwayland TITLE-REGEX: the compositor manages a window of that title as an X11 one
en_xwayland() { ventana_sway "$1" | grep -q '^xwayland'; }

arrancar Rendalio.exe
esperar_que "the diary did not open on XWayland" 20 en_xwayland '^Tareas a recordar'
esperar_que "the calendar did not open on XWayland" 20 en_xwayland '^Calendario$'
read -r _ _ ancho alto < <(ventana_sway '^Tareas a recordar' | cut -f2)
[ "$ancho" -gt 300 ] && [ "$alto" -gt 300 ] || fallo "the diary is ${ancho}x$alto"

arrancar Brivolar.exe
PID_BARRA=$ULTIMO_PID
esperar_que "the bar did not open on XWayland" 20 en_xwayland '^Brivolar$'
esperar_que "the bar's icon did not register with the notification area" 20 \
  elemento_registrado "org.kde.StatusNotifierItem-$PID_BARRA-1"

arrancar Trasvolo.exe
esperar_que "the wizard did not open on XWayland" 20 en_xwayland '^Asistente para trasvolo'
arrancar Vemora.exe
esperar_que "the host did not open on XWayland" 20 en_xwayland '^Vemora'
echo "e2e_wayland_diario: OK"
