#!/bin/bash
# Builds res/draw_images.cpp against Qt and redraws res/bitmaps and res/icons.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -fPIC -O1 -o "$tmp/draw_images" "$here/draw_images.cpp" \
    $(pkg-config --cflags --libs Qt6Gui Qt6Core)
QT_QPA_PLATFORM=offscreen "$tmp/draw_images" "$here"
