#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the suite needs to build, run and be tested
# and is not on the machine yet. Safe to run again: it installs only what is missing.
set -euo pipefail

PAQUETES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-qpa-plugins
  libsqlite3-dev sqlite3 libsqlcipher-dev sqlcipher
  xvfb xauth xdotool xclip x11-utils x11-xserver-utils imagemagick
  libx11-dev libfontconfig-dev zlib1g-dev fonts-dejavu-core clang libclang-rt-14-dev openbox trayer
  qt6-translations-l10n desktop-file-utils
  # the Wayland desktop of the end-to-end tier: compositor, X server, notification area,
  # screenshots, the session bus and the tools that speak to it, the programs' own
  # Wayland platform, and the pointer helper's library
  sway xwayland waybar grim dbus-daemon libglib2.0-bin python3-gi qt6-wayland libwayland-dev
  # the screen reader's journey: a session bus, the accessibility bus, the reader's library
  at-spi2-core python3-pyatspi
)

faltan=()
for p in "${PAQUETES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    faltan+=("$p")
  fi
done

if [ ${#faltan[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${faltan[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${faltan[@]}"
