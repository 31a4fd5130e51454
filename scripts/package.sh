#!/usr/bin/env bash
# Installs what is missing, builds a release and makes a Debian package of it
# in build-package/ (build-package-qt6/ for Qt 6), with dependencies taken from
# the program's libraries, for Qt 5 unless 6 is given:
#   scripts/package.sh [5|6]
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
# Compiled and linked with the flags that dpkg-buildflags gives on this
# release, every hardening feature on, as debian/rules would ask for them.
# Build type None, as debhelper configures CMake: its Release would add -O3.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flag() { dpkg-buildflags --get "$1"; }
corvane_configure "$dir" -DCMAKE_BUILD_TYPE=None -DCORVANE_QT_MAJOR="$qt" \
    -DCMAKE_CXX_FLAGS="$(flag CPPFLAGS) $(flag CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)"
corvane_build "$dir"
(cd "$dir" && cpack -G DEB)
ls -1 "$PWD/$dir"/*.deb
