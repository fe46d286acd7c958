#!/usr/bin/env bash
# Installs what is missing, builds Velbrin and runs the whole test suite through CTest,
# then builds the encoder, the rule tests and the conversion-run tests once more under ASan and
# UBSan and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# Under ASan and UBSan: the encoder with its tests, and the whole runs on the
# main window (a run must never read past the end of the queue it is given).
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELBRIN_SANITIZE=ON
cmake --build build-sanitize -j "$jobs" --target encoder_tests velbrin_run_tests \
  run_rules_tests foundation_rules_tests queue_rules_tests
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure \
  -R '^(encoder_tests|run_rules_tests|foundation_rules_tests|queue_rules_tests)$'
# Qt and its platform plugins keep some memory until the end on purpose, so
# leaks are not judged there; every bad read or write still fails the run.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -R '^velbrin_run_tests$'
