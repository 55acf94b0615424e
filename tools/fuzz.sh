#!/usr/bin/env bash
# Builds the libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and fuzzes the analysis of one file, starting
# from the minimised corpus kept in fuzz/corpus and the seeds in fuzz/seeds.
#   bash tools/fuzz.sh [seconds]     default 60; crashes land in build-fuzz/crashes,
#                                    new inputs in build-fuzz/corpus
# To keep what a longer run found, merge it into the kept corpus (only inputs
# that add coverage are copied; keep the directory well under 1 MB):
#   build-fuzz/lqa_fuzz -merge=1 -max_len=65536 fuzz/corpus build-fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLQA_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz --target lqa_fuzz lqa_fuzz_gate -j "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/crashes
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  build-fuzz/lqa_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
  -artifact_prefix=build-fuzz/crashes/ build-fuzz/corpus fuzz/corpus fuzz/seeds
# The gate snapshot reader, a sixth of the time.
mkdir -p build-fuzz/gate-corpus
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  build-fuzz/lqa_fuzz_gate -max_total_time="$(( (seconds + 5) / 6 ))" -max_len=16384 -timeout=10 \
  -artifact_prefix=build-fuzz/crashes/ build-fuzz/gate-corpus fuzz/gate_seeds
