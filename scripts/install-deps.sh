#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Corvane
# need, and those given, skipping those already present:
#   scripts/install-deps.sh [PACKAGE...]
set -euo pipefail

packages=(
    build-essential cmake
    qtbase5-dev qtbase5-dev-tools libqt5network5 libqt5test5 libwayland-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth imagemagick x11-xserver-utils x11-utils xdotool openbox
    "$@"
)

# What is installed, by its own name and by every name it provides: on
# Debian 13 libqt5network5 is only provided, by libqt5network5t64.
declare -A present=()
while read -r status name provides; do
    [[ $status == ii ]] || continue
    present[${name%%:*}]=1
    provides=${provides//,/ }
    for p in $provides; do
        [[ $p == [a-z0-9]* ]] && present[$p]=1
    done
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Provides}\n' 2>/dev/null)

missing=()
for p in "${packages[@]}"; do
    [[ -n ${present[$p]:-} ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
# Through env, so that the variable survives sudo.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
