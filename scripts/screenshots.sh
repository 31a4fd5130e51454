#!/usr/bin/env bash
# Renders the four tabs of the real window into docs/screenshots as a
# desktop at 96 DPI shows them, and the window as a 192 DPI desktop (200 %)
# shows it, taken from a virtual X display (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_QT_MAJOR=5 -DCORVANE_SANITIZE=OFF \
    -DCORVANE_FUZZ=OFF -DCORVANE_TESTS=OFF
cmake --build build -j"$(nproc)" --target corvane corvane_screenshots
# The offscreen platform at 96 DPI: one device pixel per logical pixel.
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 build/tools/corvane_screenshots docs/screenshots
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
CORVANE_SHOTS=$shots tests/x11_window.sh build/src/corvane 192
mv "$shots/window-192.png" docs/screenshots/window-192dpi.png
echo docs/screenshots/window-192dpi.png
