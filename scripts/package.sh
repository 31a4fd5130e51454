#!/usr/bin/env bash
# Installs what is missing, builds a release and makes a Debian package of it
# in build-package/ (build-package-qt6/ for Qt 6), with dependencies taken from
# the program's libraries, for Qt 5 unless 6 is given:
#   scripts/package.sh [5|6]
# scripts/test.sh makes the same packages from its tested build folders.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
qt=${1:-5}
case $qt in
5) dir=build-package extra=() ;;
6) dir=build-package-qt6 extra=(qt6-base-dev qt6-base-dev-tools) ;;
*) echo "usage: $0 [5|6]" >&2; exit 2 ;;
esac
scripts/install-deps.sh dpkg-dev file "${extra[@]}"
corvane_debian_options
corvane_configure "$dir" -DCORVANE_QT_MAJOR="$qt" "${debian_options[@]}"
corvane_build "$dir"
corvane_package "$dir"
