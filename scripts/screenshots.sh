#!/usr/bin/env bash
# Rebuilds the screenshots under docs/ from the real windows (offscreen platform).
# Run after a build: ./scripts/screenshots.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target velbrin_screenshots velbrin -j "$(nproc)"
shots="$build/tools/screenshots/velbrin_screenshots"
program="$build/velbrin"
export QT_QPA_PLATFORM=offscreen
mkdir -p docs
"$shots" "$program" 2 10 docs/en-silver- dialogs   # English, default skin, every dialog
"$shots" "$program" 1 10 docs/gb-silver- dialogs   # Simplified Chinese
"$shots" "$program" 3 10 docs/jp-silver- dialogs   # Japanese
"$shots" "$program" 2 2 docs/en-diamondblue-
"$shots" "$program" 2 11 docs/en-sportsblack-
"$shots" "$program" 2 16 docs/en-xpblue-
