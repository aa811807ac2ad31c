#!/usr/bin/env bash
# Adds the suite to the current user's application menu: a desktop entry and an icon for
# Rendalio, Brivolar and Trasvolo of the given application folder (the updater installs
# itself as Brivolar and needs none). Writes only into the user's data folder
# ($XDG_DATA_HOME, by default ~/.local/share).
#   bash scripts/escritorio.sh <application folder>    write the entries and icons
#   bash scripts/escritorio.sh --quitar                 remove exactly those files again
set -euo pipefail
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
DATOS=${XDG_DATA_HOME:-$HOME/.local/share}
ENTRADAS="$DATOS/applications"
ICONOS="$DATOS/icons/hicolor/scalable/apps"

# id (also the programs' desktop file name), menu name, executable, artwork, categories,
# what the program is
PROGRAMAS=(
  "vemora-rendalio|Rendalio|Rendalio.exe|diary|Office;Calendar;|Agenda de tareas para recordar, con calendario"
  "vemora-brivolar|Brivolar|Brivolar.exe|launcher|Utility;|Barra de inicio rápido de los programas de Vemora"
  "vemora-trasvolo|Trasvolo|Trasvolo.exe|importer|Office;ContactManagement;|Asistente para importar contactos a la libreta de direcciones Vemora"
)

uso() {
  echo "usage: $0 <application folder> | --quitar" >&2
  exit 2
}

# A value of type string: backslash and control characters escaped.
cadena() {
  local s=${1//\\/\\\\}
  s=${s//$'\t'/\\t}
  s=${s//$'\r'/\\r}
  printf '%s' "$s"
}

# One argument of Exec: always quoted, with ", `, $ and \ escaped inside the quotes and
# % doubled; then escaped once more as a string value (each \ doubled).
argumento() {
  local s=$1
  s=${s//\\/\\\\}
  s=${s//\"/\\\"}
  s=${s//\`/\\\`}
  s=${s//\$/\\\$}
  s=${s//%/%%}
  cadena "\"$s\""
}

quitar() {
  local fila id
  for fila in "${PROGRAMAS[@]}"; do
    id=${fila%%|*}
    rm -f "$ENTRADAS/$id.desktop" "$ICONOS/$id.svg"
  done
  # The folders this script may have made, innermost first, only where they are left empty.
  local carpeta
  for carpeta in "$ICONOS" "$DATOS/icons/hicolor/scalable" "$DATOS/icons/hicolor" \
                 "$DATOS/icons" "$ENTRADAS"; do
    [ -d "$carpeta" ] && rmdir --ignore-fail-on-non-empty "$carpeta"
  done
  return 0
}

escribir() {
  local carpeta
  carpeta=$(cd "$1" && pwd) || uso
  case $carpeta in *$'\n'*) echo "a folder name with a line break cannot be written in a menu entry" >&2; exit 1 ;; esac
  local fila id nombre exe arte categorias comentario
  for fila in "${PROGRAMAS[@]}"; do
    IFS='|' read -r id nombre exe arte categorias comentario <<<"$fila"
    [ -x "$carpeta/$exe" ] || { echo "$carpeta does not hold $exe" >&2; exit 1; }
  done
  mkdir -p "$ENTRADAS" "$ICONOS"
  for fila in "${PROGRAMAS[@]}"; do
    IFS='|' read -r id nombre exe arte categorias comentario <<<"$fila"
    cp "$RAIZ/assets/$arte/icono.svg" "$ICONOS/$id.svg"
    # On X11 a window's class (WM_CLASS) is its executable's file name: the task bar
    # matches the program's windows to this entry and its icon by it.
    cat >"$ENTRADAS/$id.desktop" <<ENTRADA
[Desktop Entry]
Type=Application
Name=$nombre
Comment=$(cadena "$comentario")
Exec=$(argumento "$carpeta/$exe")
Path=$(cadena "$carpeta")
Icon=$id
Terminal=false
Categories=$categorias
StartupWMClass=$(cadena "$exe")
ENTRADA
    echo "$ENTRADAS/$id.desktop"
  done
}

case ${1:-} in
  --quitar) [ $# -eq 1 ] || uso; quitar ;;
  ""|-*) uso ;;
  *) [ $# -eq 1 ] || uso; escribir "$1" ;;
esac
