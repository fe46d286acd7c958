#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds velbrin_core, the encoder and their tests without Qt (find_package(Qt6) is never
# called, and refused besides, so no Qt development package is needed) and runs those tests.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELBRIN_CORE_ONLY=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON "$@"
cmake --build build-core -j "$(nproc)"
ctest --test-dir build-core --output-on-failure
