# Shared helpers of the end-to-end scripts; sourced, never run on its own.
# Usage in a script:  source "$(dirname "$0")/comun.sh" "$1"
set -euo pipefail
CONSTRUCCION=$(cd "$1" && pwd)
APP=$(mktemp -d /tmp/e2e-app.XXXXXX)
export XDG_RUNTIME_DIR=$(mktemp -d /tmp/e2e-run.XXXXXX)
chmod 700 "$XDG_RUNTIME_DIR"
PIDS=()

limpiar() {
  for p in "${PIDS[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  rm -rf "$APP" "$XDG_RUNTIME_DIR"
}
trap limpiar EXIT

fallo() {
  echo "E2E FAIL: $*" >&2
  # What the programs said is the first clue to an unexpected end.
  for registro in "$APP"/.salida-*.log; do
    [ -s "$registro" ] && { echo "--- ${registro##*/.salida-}" >&2; tail -n 20 "$registro" >&2; }
  done
  # On the Wayland desktop, where the compositor put each window.
  if [ -n "${SWAYSOCK:-}" ]; then echo "--- windows" >&2; ventanas_sway >&2 || true; fi
  exit 1
}

# A complete application folder, as a user gets it (on the Wayland desktop, installed
# beforehand by con_sway.sh into a folder its user may read).
if [ -n "${E2E_APP_INSTALADA:-}" ]; then
  cp -a "$E2E_APP_INSTALADA/." "$APP/"
else
  cmake --install "$CONSTRUCCION" --prefix "$APP" >/dev/null
fi

# arrancar PROGRAM.exe: starts it in the folder, remembers its pid in $ULTIMO_PID
arrancar() {
  (cd "$APP" && exec "./$1") >"$APP/.salida-$1.log" 2>&1 &
  ULTIMO_PID=$!
  PIDS+=("$ULTIMO_PID")
}

# crear_hermano: the sibling program Noctavo, which only leaves a mark when started, in a
# folder of its own: sets HERMANO (the folder, for the settings) and MARCA (the mark)
crear_hermano() {
  HERMANO="$APP/hermanos/Noctavo"
  MARCA="$APP/hermanos/iniciado"
  mkdir -p "$HERMANO"
  printf '#!/bin/sh\necho iniciado > "%s"\n' "$MARCA" >"$HERMANO/Noctavo.exe"
  chmod +x "$HERMANO/Noctavo.exe"
}

# esperar_ventana TITLE-REGEX [SECONDS]: prints the window id once it is mapped
esperar_ventana() {
  local limite=$(( $(date +%s) + ${2:-20} ))
  while [ "$(date +%s)" -lt "$limite" ]; do
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  fallo "no window matching '$1'"
}

# esperar_fin PID [SECONDS]
esperar_fin() {
  local limite=$(( $(date +%s) + ${2:-20} ))
  while kill -0 "$1" 2>/dev/null; do
    [ "$(date +%s)" -lt "$limite" ] || fallo "process $1 did not end"
    sleep 0.2
  done
}

# esperar_archivo PATH [SECONDS]
esperar_archivo() {
  local limite=$(( $(date +%s) + ${2:-20} ))
  until [ -e "$1" ]; do
    [ "$(date +%s)" -lt "$limite" ] || fallo "file $1 did not appear"
    sleep 0.2
  done
}

# esperar_que WHAT SECONDS COMMAND...: runs COMMAND until it succeeds
esperar_que() {
  local que=$1 limite=$(( $(date +%s) + $2 ))
  shift 2
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt "$limite" ] || fallo "$que"
    sleep 0.1
  done
}

# icono_en_bandeja PROGRAM.exe: prints the id of the program's icon window once the
# notification area (trayer, whose strip is its window "panel") has docked it
icono_en_bandeja() {
  local panel
  for panel in $(xdotool search --classname '^panel$' 2>/dev/null); do
    xwininfo -tree -id "$panel" 2>/dev/null |
      awk -v n="\"$1\": (\"$1\"" 'index($0, n) { print $1; f = 1; exit } END { exit !f }' &&
      return 0
  done
  return 1
}

# esperar_icono PROGRAM.exe [SECONDS]: prints the icon's window id
esperar_icono() {
  esperar_que "no icon of $1 in the notification area" "${2:-20}" icono_en_bandeja "$1"
  icono_en_bandeja "$1"
}

# menu_abierto PROGRAM.exe ICON-ID: an open popup of the program (a shown window other
# than its icon) that holds the keyboard, so keys typed now reach it
menu_abierto() {
  xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | grep -qvx "$(( $2 ))" &&
    "$E2E_ESTADO_X" --teclado
}

# menu_cerrado PROGRAM.exe ICON-ID: no window of the program is shown but its icon
menu_cerrado() {
  ! xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | grep -qvx "$(( $2 ))"
}

# ---- The Wayland desktop (con_sway.sh) -------------------------------------------------

# ventanas_sway: one line per window the compositor manages, with the place of its
# contents on the screen: "shell<TAB>x y w h<TAB>title"
ventanas_sway() {
  swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def recorrer(nodo):
    if nodo.get("pid") and nodo.get("type") in ("con", "floating_con"):
        r, v = nodo["rect"], nodo["window_rect"]
        print("%s\t%d %d %d %d\t%s" % (nodo.get("shell"), r["x"] + v["x"], r["y"] + v["y"],
                                       v["width"], v["height"], nodo.get("name") or ""))
    for hijo in nodo.get("nodes", []) + nodo.get("floating_nodes", []):
        recorrer(hijo)
recorrer(json.load(sys.stdin))'
}

# ventana_sway TITLE-REGEX: prints the window's line of ventanas_sway
ventana_sway() {
  ventanas_sway | awk -F '\t' -v t="$1" '$3 ~ t { print; f = 1; exit } END { exit !f }'
}

# elemento_registrado SERVICE: the notification area holds that item
elemento_registrado() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
    RegisteredStatusNotifierItems | grep -q "'$1/StatusNotifierItem'"
}

# sni SERVICE METHOD ARGS...: calls the item as the area does (Activate x y, ContextMenu x y)
sni() {
  local servicio=$1 metodo=$2
  shift 2
  gdbus call --session --dest "$servicio" --object-path /StatusNotifierItem \
    --method "org.kde.StatusNotifierItem.$metodo" -- "$@" >/dev/null
}

# sni_propiedad SERVICE NAME: prints the item's property as gdbus shows it
sni_propiedad() {
  gdbus call --session --dest "$1" --object-path /StatusNotifierItem \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$2"
}

# sni_doble SERVICE X Y: two activations sent back to back, as an area reports a double
# click: one process, so that nothing but the bus lies between them.
sni_doble() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
for _ in range(2):
    bus.call_sync(sys.argv[1], "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate",
                  GLib.Variant("(ii)", (int(sys.argv[2]), int(sys.argv[3]))), None,
                  Gio.DBusCallFlags.NONE, 5000, None)
PY
}

# clic_sway X Y [BUTTON]: the pointer goes there and clicks (button1 unless told)
clic_sway() {
  swaymsg seat seat0 cursor set "$1" "$2" >/dev/null
  swaymsg seat seat0 cursor press "${3:-button1}" >/dev/null
  swaymsg seat seat0 cursor release "${3:-button1}" >/dev/null
}

# geometria_x WINDOW-ID: prints "x y w h" of an X window (XWayland included)
geometria_x() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}
