#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test
# through CTest on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_WERROR=ON
cmake --build build-test -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j2
