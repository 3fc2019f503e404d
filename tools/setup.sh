#!/usr/bin/env bash
# Installs the Debian 12 packages Plenaro needs to build, run and test, where they are missing.
# LibreOffice, large and used by a few tests only, comes with --tests (tools/test.sh says it).
set -euo pipefail

pakete=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-webengine-dev qt6-serialport-dev qt6-multimedia-dev qt6-httpserver-dev qt6-websockets-dev
    qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
    libjs-jquery libgl-dev fonts-dejavu-core
    xvfb xauth poppler-utils
    openbox xdotool imagemagick
    qt6-svg-dev
    libqrencode-dev libboost-dev python3
    dpkg-dev file desktop-file-utils appstream
    libxlsxwriter-dev unzip
)
# LibreOffice Calc without its interface: the export tests read the files back through it
# (soffice --headless --convert-to) as a teacher's spreadsheet does.
# The desktop tools a file manager asks which program opens a question file (xdg-mime, gio).
if [ "${1:-}" = --tests ]; then
    pakete+=(libreoffice-calc-nogui xdg-utils libglib2.0-bin shared-mime-info)
fi

fehlend=()
for paket in "${pakete[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$paket" 2>/dev/null | grep -q "install ok installed"; then
        fehlend+=("$paket")
    fi
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

echo "Installing: ${fehlend[*]}"
if [ "$(id -u)" -eq 0 ]; then
    als_root=()
elif command -v sudo >/dev/null 2>&1; then
    als_root=(sudo)
else
    echo "Missing packages (${fehlend[*]}); run this script as root to install them." >&2
    exit 1
fi
"${als_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y --no-install-recommends "${fehlend[@]}"
