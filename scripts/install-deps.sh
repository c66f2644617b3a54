#!/usr/bin/env bash
# Installs the Debian 12 packages Talvex needs to build, run and test.
# Idempotent: when every package is present it does nothing and needs no network.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config ccache
    # Qt 6: core, widgets, serial port discovery, SVG icons
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libgl-dev
    # Qt's own texts (OK, Cancel, file dialogs) in the user's language
    qt6-translations-l10n
    # spreadsheets and code pages
    liborcus-dev libixion-dev libboost-dev libxlsxwriter-dev libminizip-dev libgsf-1-dev zlib1g-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # independent spreadsheet readers and writers used by the tests
    python3 python3-xlrd python3-xlwt python3-openpyxl
    # fuzzing and sanitizers; the format check
    clang libclang-rt-14-dev clang-format
    # the Debian package: its dependencies, and the checks of its menu entry, description, manual pages,
    # shell completion and contents
    dpkg-dev file desktop-file-utils appstream man-db bash-completion lintian
    # running the window without a display, and screenshots
    xvfb xauth x11-apps x11-utils imagemagick fonts-noto-cjk fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
