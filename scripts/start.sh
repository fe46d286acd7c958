#!/usr/bin/env bash
# Installs what is missing, builds Velbrin and starts it from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
exec ./build/velbrin/velbrin
