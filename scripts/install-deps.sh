#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Corvane
# need, skipping those already present. Extra package names may be passed.
set -euo pipefail

packages=(
    build-essential cmake
    qtbase5-dev qtbase5-dev-tools libqt5network5 libqt5test5
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth imagemagick x11-xserver-utils x11-utils xdotool openbox
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
# Through env, so that the variable survives sudo.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
