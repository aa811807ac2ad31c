#!/usr/bin/env bash
# con_sway.sh SCRIPT BUILD: runs an end-to-end SCRIPT on a private Wayland desktop: the
# compositor sway, headless with software rendering, with XWayland for X11 programs, and
# waybar, whose tray is a StatusNotifierItem notification area. A session bus of its own
# (dbus-run-session) carries the area's protocol.
#
# sway refuses to run as root: started as root, this script creates (once) the
# unprivileged user $E2E_USUARIO_WAYLAND, lays out what the journey needs (the scripts,
# the installed application folder, the pointer helper) in a folder that user owns, and
# runs the whole session as that user.
#
# The journey finds the desktop in WAYLAND_DISPLAY and SWAYSOCK (absolute paths, so that
# it may choose its own XDG_RUNTIME_DIR), DISPLAY (XWayland) and DBUS_SESSION_BUS_ADDRESS.
# E2E_PUNTERO_VIRTUAL: the puntero_virtual helper (puntero_virtual.cpp), which gives the
# headless seat a pointer so that "swaymsg seat seat0 cursor ..." reaches the programs.
set -euo pipefail
AQUI=$(cd "$(dirname "$0")" && pwd)
USUARIO=${E2E_USUARIO_WAYLAND:-vemora-e2e}

if [ "${1:-}" != --sesion ]; then
  GUION=$1
  CONSTRUCCION=$(cd "$2" && pwd)
  [ -x "${E2E_PUNTERO_VIRTUAL:-}" ] || { echo "E2E_PUNTERO_VIRTUAL does not name the helper" >&2; exit 1; }
  if [ "$(id -u)" != 0 ]; then
    exec dbus-run-session -- bash "$0" --sesion bash "$GUION" "$CONSTRUCCION"
  fi
  id -u "$USUARIO" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$USUARIO"
  BASE=$(mktemp -d /tmp/e2e-wayland.XXXXXX)
  trap 'rm -rf "$BASE"' EXIT
  mkdir "$BASE/e2e"
  cp "$AQUI"/*.sh "$E2E_PUNTERO_VIRTUAL" "$BASE/e2e/"
  cmake --install "$CONSTRUCCION" --prefix "$BASE/app" >/dev/null
  chmod 755 "$BASE"
  chown -R "$USUARIO:" "$BASE"
  CASA=$(getent passwd "$USUARIO" | cut -d: -f6)
  # Only the system's own tools: a root's PATH may lead to interpreters the user cannot
  # read, or that lack the system's bindings.
  set +e
  runuser -u "$USUARIO" -- env -i HOME="$CASA" USER="$USUARIO" LANG="${LANG:-C.UTF-8}" \
    PATH=/usr/local/bin:/usr/bin:/bin E2E_APP_INSTALADA="$BASE/app" \
    E2E_PUNTERO_VIRTUAL="$BASE/e2e/$(basename "$E2E_PUNTERO_VIRTUAL")" \
    dbus-run-session -- bash "$BASE/e2e/con_sway.sh" --sesion \
    bash "$BASE/e2e/$(basename "$GUION")" "$BASE/app"
  resultado=$?
  set -e
  exit $resultado
fi
shift

source "$AQUI/escritorio.sh"
SESION=$(mktemp -d /tmp/e2e-sway.XXXXXX)
chmod 700 "$SESION"
trap 'terminar_escritorio; rm -rf "$SESION"' EXIT
REGISTROS_ESCRITORIO="$SESION/*.log"
export XDG_RUNTIME_DIR=$SESION
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1

# The X server's display is known to sway's own children: one writes it down.
cat >"$SESION/sway.conf" <<EOF
xwayland enable
output HEADLESS-1 resolution 1280x1024 position 0 0
exec echo "\$DISPLAY" > "$SESION/pantalla-x.tmp" && mv "$SESION/pantalla-x.tmp" "$SESION/pantalla-x"
EOF
sway -c "$SESION/sway.conf" >"$SESION/sway.log" 2>&1 &
HIJOS+=($!)
enchufe_wayland() { ls "$SESION"/wayland-[0-9] 2>/dev/null | head -n 1 | grep .; }
esperar_escritorio sway 20 enchufe_wayland
export WAYLAND_DISPLAY=$(enchufe_wayland)
enchufe_sway() { ls "$SESION"/sway-ipc.*.sock 2>/dev/null | head -n 1 | grep .; }
esperar_escritorio sway 20 enchufe_sway
export SWAYSOCK=$(enchufe_sway)
esperar_escritorio sway 20 swaymsg -t get_version
esperar_escritorio XWayland 20 test -s "$SESION/pantalla-x"
export DISPLAY=$(cat "$SESION/pantalla-x")
# XWayland starts with its first client: this one waits for it.
esperar_escritorio XWayland 20 xdpyinfo

"$E2E_PUNTERO_VIRTUAL" >"$SESION/puntero.log" 2>&1 &
HIJOS+=($!)
puntero_listo() { swaymsg -t get_seats | grep -q '"capabilities": [1-9]'; }
esperar_escritorio "the virtual pointer" 20 puntero_listo

# The notification area along the top, in the middle, where a click on its icon is easy
# to aim at; it is ready once it has registered as the area's host.
cat >"$SESION/waybar.json" <<'EOF'
{ "layer": "top", "position": "top", "height": 30,
  "modules-left": [], "modules-center": ["tray"], "modules-right": [],
  "tray": { "icon-size": 22, "spacing": 4 } }
EOF
printf '* { font-family: sans-serif; font-size: 12px; }\nwindow#waybar { background: #303030; }\n' \
  >"$SESION/waybar.css"
waybar -c "$SESION/waybar.json" -s "$SESION/waybar.css" >"$SESION/waybar.log" 2>&1 &
HIJOS+=($!)
area_lista() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    IsStatusNotifierHostRegistered | grep -q true
}
esperar_escritorio waybar 20 area_lista
"$@"
