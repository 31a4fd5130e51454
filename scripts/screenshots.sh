#!/usr/bin/env bash
# Renders the four tabs of the real window into docs/screenshots as a
# desktop at 96 DPI shows them, the TETRA tab again in the Breeze and Adwaita
# styles (where installed), and the window as a 192 DPI desktop (200 %)
# shows it, taken from a virtual X display (Xvfb).
# Usage: scripts/screenshots.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
scripts/install-deps.sh
corvane_configure build
corvane_build build corvane corvane_screenshots
# The offscreen platform at 96 DPI: one device pixel per logical pixel.
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 build/tools/corvane_screenshots docs/screenshots
styled=$(mktemp -d)
for style in breeze adwaita; do
    QT_STYLE_OVERRIDE=$style QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 \
        build/tools/corvane_screenshots "$styled" >/dev/null 2>&1 || continue
    mv "$styled/tab-2-tetra.png" "docs/screenshots/tab-2-tetra-$style.png"
    echo "docs/screenshots/tab-2-tetra-$style.png"
done
rm -rf "$styled"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
CORVANE_SHOTS=$shots tests/x11_window.sh build/src/corvane - 192
mv "$shots/window-192.png" docs/screenshots/window-192dpi.png
echo docs/screenshots/window-192dpi.png
# With a folder given, also the tabs under a dark and a black high-contrast
# palette and the window on a small screen (1366x768 at 125 %) there: for a
# look, not for the README.
if [[ -n ${1:-} ]]; then
    for palette in dark contrast; do
        mkdir -p "$1/$palette"
        QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 build/tools/corvane_screenshots "$1/$palette" "$palette"
    done
    CORVANE_SHOTS=$1 tests/x11_window.sh build/src/corvane - 120:1366x768
fi
