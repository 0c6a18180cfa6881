#!/usr/bin/env bash
# Installs the Debian packages Velmora needs to build, run and test, and
# nothing when they are all there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins libgl-dev libxcb1-dev libxcb-xkb-dev
    libbenchmark-dev clang libclang-rt-14-dev
    xvfb xauth xdotool openbox fonts-dejavu-core fonts-liberation2
    sway wtype qt6-wayland libwayland-dev qt6-base-private-dev
    desktop-file-utils qt6-translations-l10n qt6-l10n-tools qt6-tools-dev poppler-utils python3
    dpkg-dev lintian appstream
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
