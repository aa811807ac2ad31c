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
  exit 1
}

# A complete application folder, as a user gets it.
cmake --install "$CONSTRUCCION" --prefix "$APP" >/dev/null

# arrancar PROGRAM.exe: starts it in the folder, remembers its pid in $ULTIMO_PID
arrancar() {
  (cd "$APP" && exec "./$1") >"$APP/.salida-$1.log" 2>&1 &
  ULTIMO_PID=$!
  PIDS+=("$ULTIMO_PID")
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
