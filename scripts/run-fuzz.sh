#!/usr/bin/env bash
# Runs each fuzz target for a while and libm9s (built with ASan and UBSan) on
# damaged media files. A finding fails the run; its input is kept under
# build-fuzz/findings/. FUZZ_SECONDS and FUZZ_MEDIA_FILES set the amounts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
media_files=${FUZZ_MEDIA_FILES:-300}
jobs=$(nproc)

# The fuzzers' own tools: clang with its fuzzer and sanitizer runtimes.
./scripts/install-deps.sh clang libclang-rt-dev python3 ffmpeg

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j "$jobs"
findings="$PWD/build-fuzz/findings"
mkdir -p "$findings"
status=0
for target in profile shellwords progress skin options; do
  corpus=build-fuzz/corpus/$target
  log=build-fuzz/fuzz_$target.log
  mkdir -p "$corpus"
  # The first folder gathers new inputs; the committed seeds stay as they are.
  if ./build-fuzz/fuzz_$target "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" \
      -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/$target-" >"$log" 2>&1; then
    result=ok
  else
    result="FINDING (input in $findings)"
    status=1
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  echo "fuzz_$target: ${runs:-?} runs, ${coverage:-no coverage line}, $result"
done

if [ ! -f build-sanitize/build.ninja ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELBRIN_ENCODER_ONLY=ON \
    -DVELBRIN_SANITIZE=ON
fi
cmake --build build-sanitize -j "$jobs" --target libm9s
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  python3 fuzz/damaged-media.py --encoder build-sanitize/velbrin/libm9s --work build-fuzz/media \
    --findings "$findings/media" --count "$media_files" --jobs "$jobs" || status=1
exit $status
