#!/usr/bin/env bash
# Installs what is missing, builds a release and makes a Debian package of it
# in build-package/, with dependencies taken from the program's libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh dpkg-dev file
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB)
ls -1 "$PWD"/build-package/*.deb
