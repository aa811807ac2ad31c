#!/usr/bin/env bash
# con_xvfb.sh COMMAND...: runs COMMAND on a private desktop: a virtual X server, the
# window manager openbox and the notification area trayer. The server picks a free
# display itself and says which once it accepts connections (-displayfd), so two runs
# never race for a display number and nothing starts before the server is ready.
# -noreset: without it the server resets whenever its last client leaves and refuses a
# program that is connecting at that moment.
# E2E_SIN_BANDEJA=1: a desktop without a notification area, for the journeys of the
# programs' way in where there is none.
# E2E_ESTADO_X: the estado_x helper (estado_x.cpp), which tells when the notification
# area is up.
set -euo pipefail
source "$(dirname "$0")/escritorio.sh"
numero=$(mktemp)
trap 'terminar_escritorio; rm -f "$numero"' EXIT

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$numero" 2>/dev/null &
HIJOS+=($!)
esperar_escritorio Xvfb 10 test -s "$numero"
export DISPLAY=":$(tr -dc '0-9' <"$numero")"

# The window manager announces itself on the root window once it manages windows.
openbox --sm-disable >/dev/null 2>&1 &
HIJOS+=($!)
esperar_escritorio openbox 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# A notification area along the bottom right corner, where a desktop's usually is; it
# accepts icons once it owns the tray selection of screen 0.
if [ "${E2E_SIN_BANDEJA:-0}" != 1 ]; then
  [ -x "${E2E_ESTADO_X:-}" ] || { echo "E2E_ESTADO_X does not name the estado_x helper" >&2; exit 1; }
  trayer --edge bottom --align right --widthtype request --height 24 --SetDockType true \
    --SetPartialStrut true --transparent false >/dev/null 2>&1 &
  HIJOS+=($!)
  esperar_escritorio trayer 20 "$E2E_ESTADO_X" _NET_SYSTEM_TRAY_S0
fi
"$@"
