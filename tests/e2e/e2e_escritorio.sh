# The menu entries of scripts/escritorio.sh for an application folder whose name needs
# quoting: they pass desktop-file-validate, name their icons, say what the program is,
# start the program they name, whose window carries the class the entry gives, and
# --quitar leaves the user's data folder as it was.
source "$(dirname "$0")/comun.sh" "$1"
RAIZ=$(cd "$(dirname "$0")/../.." && pwd)

export XDG_DATA_HOME="$XDG_RUNTIME_DIR/datos"
# A user who already has a menu entry of another program.
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=Otro\nExec=otro\n' \
  >"$XDG_DATA_HOME/applications/otro.desktop"
contenido() { (cd "$XDG_DATA_HOME" && find . -printf '%y %p\n' | sort && cat applications/otro.desktop); }
ANTES=$(contenido)

CARPETA="$XDG_RUNTIME_DIR/Mis programas/Vemora de \"Ana\" 100% \$x"
mkdir -p "$(dirname "$CARPETA")"
cp -a "$APP" "$CARPETA"
bash "$RAIZ/scripts/escritorio.sh" "$CARPETA" >/dev/null || fallo "escritorio.sh failed"

for id in vemora-rendalio vemora-brivolar vemora-trasvolo; do
  entrada="$XDG_DATA_HOME/applications/$id.desktop"
  [ -f "$entrada" ] || fallo "no entry $id.desktop"
  desktop-file-validate "$entrada" || fallo "$id.desktop does not validate"
  grep -qx "Icon=$id" "$entrada" || fallo "$id.desktop names no icon $id"
  grep -q "^Comment=..........." "$entrada" || fallo "$id.desktop says not what the program is"
  case $id in
    vemora-rendalio) exe=Rendalio.exe ;;
    vemora-brivolar) exe=Brivolar.exe ;;
    vemora-trasvolo) exe=Trasvolo.exe ;;
  esac
  grep -qx "StartupWMClass=$exe" "$entrada" || fallo "$id.desktop names no window class $exe"
  [ -s "$XDG_DATA_HOME/icons/hicolor/scalable/apps/$id.svg" ] || fallo "no icon $id.svg"
done
[ ! -e "$XDG_DATA_HOME/applications/vemora-actualizar.desktop" ] || fallo "an entry for the updater"

# Exec's quoting is that of the shell's double quotes once the string escapes are undone:
# the diary's entry, run as a menu does, starts the diary of that folder.
valor() { sed -n "s/^$1=//p" "$XDG_DATA_HOME/applications/vemora-rendalio.desktop"; }
EXEC=$(valor Exec | sed 's/\\\\/\\/g; s/%%/%/g')
eval "set -- $EXEC"
[ $# -eq 1 ] && [ "$1" = "$CARPETA/Rendalio.exe" ] || fallo "Exec is not the diary of the folder: $(valor Exec)"
[ "$(valor Path)" = "$CARPETA" ] || fallo "Path is not the folder: $(valor Path)"
(cd "$(valor Path)" && exec "$1") >/dev/null 2>&1 &
PIDS+=("$!")
VENTANA=$(esperar_ventana "^Tareas a recordar")
esperar_archivo "$CARPETA/Rendalio.dat"
# The task bar matches a window to its entry by the class of WM_CLASS (its second string).
CLASE=$(xprop -id "$VENTANA" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
[ -n "$CLASE" ] && [ "$CLASE" = "$(valor StartupWMClass)" ] ||
  fallo "the diary's window class '$CLASE' is not the entry's '$(valor StartupWMClass)'"

bash "$RAIZ/scripts/escritorio.sh" --quitar || fallo "escritorio.sh --quitar failed"
[ "$(contenido)" = "$ANTES" ] || fallo "--quitar left the data folder changed: $(contenido)"
echo "e2e_escritorio: OK"
