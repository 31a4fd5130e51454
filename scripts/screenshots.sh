#!/usr/bin/env bash
# Renders the four tabs of the real window into docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCORVANE_TESTS=OFF
cmake --build build -j"$(nproc)" --target corvane_screenshots
QT_QPA_PLATFORM=offscreen build/tools/corvane_screenshots docs/screenshots
